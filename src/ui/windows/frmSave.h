#pragma once

#include "atomicfile.h"
#include "download.h"
#include "msgbox.h"
#include "saveflow.h"

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPointer>

#include <functional>

class DirListBox;
class DriveListBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The save dialog: chooses drive, folder and file name and writes the main window's face as a
// BMP file there. It has no owner window and is shown modally by the main window's "Opslaan";
// what it needs of the main window it is given when it is made.
// "Annuleer" and a successful save only hide it, so that the next showing finds drive, folder
// and name as they were left; its close box discards it. The last file name is kept in the
// user's settings, written at every change of the name box.
class frmSave : public QDialog
{
    Q_OBJECT

public:
    // The main window's preview as the dialog sees it: the drawn image, and a way to make
    // that image the preview's picture.
    struct Preview
    {
        std::function<QImage()> image;
        std::function<void(const QImage&)> setPicture;
    };

    // mainWindow places the dialog on its screen and carries the confirmation box; the dialog
    // takes icon as its own. Boxes are shown through boxes and the file is written by writer.
    // The folder list opens at startFolder (see startfolder.h), or at the root where that
    // cannot be opened; the drive list starts at the volume of the folder it opened.
    frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
            const QString& startFolder, ImageFileWriter writer = writeBmpFile);

    // The same dialog in a browser, where there are no drives or folders to choose: the name
    // box, and "Opslaan" hands the face to downloader as a download. Nothing is said after
    // it: the browser shows its downloads itself.
    frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
            Downloader downloader);
    ~frmSave() override;

    // Shows the dialog modally; on the desktop returns once it is hidden or closed.
    void showModal();

    // True once the close box was used: the dialog is then discarded, and the next showing
    // loads a new one.
    bool wasClosed() const { return m_closed; }

    // The handlers, named after their control and event.
    void Form_Load();
    void txtFilename_Change();
    void drvStation_Change();
    void cmdSave_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
            ImageFileWriter writer, Downloader downloader);
    void createControls(const QString* startFolder);
    void placeOnScreen();
    bool save();
    QImage takePicture();

    QPointer<QWidget> m_mainWindow;
    QIcon m_icon;
    Preview m_preview;
    MessageBoxes& m_boxes;
    SaveFlow m_flow;
    Downloader m_downloader;
    bool m_closed = false;

    QLabel* m_lblInfo = nullptr;
    DriveListBox* m_drvStation = nullptr;
    DirListBox* m_dirMap = nullptr;
    QLabel* m_lblFilename = nullptr;
    QLineEdit* m_txtFilename = nullptr;
    QLabel* m_lblExtension = nullptr;
    QFrame* m_fraBorder = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdSave = nullptr;
};
