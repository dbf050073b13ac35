#pragma once

#include <QDialog>

class frmMain;

// The save dialog: chooses drive, folder and file name and writes the face as a BMP file.
class frmSave : public QDialog
{
    Q_OBJECT

public:
    explicit frmSave(frmMain& main);
    ~frmSave() override;

    // Shows the dialog modally and returns once it is hidden or closed.
    void showModal();

    // True once the close box was used: the dialog is then discarded, and the next showing
    // loads a new one.
    bool wasClosed() const { return m_closed; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmMain& m_main;
    bool m_closed = false;
};
