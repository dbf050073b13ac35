#pragma once

#include "atomicfile.h"
#include "download.h"
#include "msgbox.h"

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

// What the save dialog's "Opslaan" does, without the dialog: test the folder, check the
// name, ask before replacing a file that is there, write the face as a BMP file, and say
// what went wrong in a "Fout" box. The dialog hands it the folder and the name its lists
// show; a test hands it its own.
class SaveFlow
{
public:
    // Boxes are shown through boxes, the file is written by writer.
    SaveFlow(MessageBoxes& boxes, ImageFileWriter writer);

    // Saves under name (the typed text, unchanged, and ".bmp") in folder (either notation).
    // takePicture gives the face once it is certain that it will be written. The boxes have
    // owner as their parent. True when the file was written; false when the user was told why
    // it was not, or answered No to the replace question.
    bool save(QWidget* owner, const QString& folder, const QString& name,
              const std::function<QImage()>& takePicture);

    // Saves as a download named name and ".bmp", for a browser. The name is held to the
    // strictest rules, Windows', so that the file can be kept on any system it lands on.
    // False when the user was told why not.
    bool download(QWidget* owner, const QString& name, const std::function<QImage()>& takePicture,
                  const Downloader& downloader);

private:
    void showError(QWidget* owner, const QString& reason);

    MessageBoxes& m_boxes;
    ImageFileWriter m_writer;
};
