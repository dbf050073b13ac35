#pragma once

#include <QListWidget>

// The folder list of the save dialog (dirMap), as the classic folder list box: the chain of
// folders from the root down to the open folder, each with an open-folder icon and indented
// by its depth, then the open folder's subfolders with closed-folder icons, sorted without
// regard to case. A double-click or Enter on a folder opens it.
class DirListBox : public QListWidget
{
    Q_OBJECT

public:
    // The list starts at startFolder, or at the root of the system's file system (on Windows
    // of its system drive) where that folder cannot be opened.
    explicit DirListBox(const QString& startFolder, QWidget* parent = nullptr);

    // The open folder, in the system's own notation ("/home/anna", "C:\Temp").
    QString Path() const;

    // Opens a folder. A path that is not a folder or that cannot be read fails: false is
    // returned and the list keeps the folder it had.
    bool setPath(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void openItem(const QListWidgetItem* item);
    void fill();
    void showOpenFolder();

    QString m_path; // absolute and clean, with '/' separators
};
