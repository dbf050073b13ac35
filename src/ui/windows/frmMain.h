#pragma once

#include "download.h"
#include "modVisitWebsite.h"
#include "msgbox.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class FacePreview;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class LinkLabel;
class frmSave;

// The main window: the preview of the face, a scroll bar for the eyes and one for the mouth,
// "Random", "Opslaan" and the link to the maker's home page. Every control carries its
// name as object name, so that the tests find them as the program does.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    // Every box of the window, and of the save dialog it shows, goes through boxes; the link
    // opens the home page through openWebsite. With a downloader (in a browser) the save
    // dialog offers the face as a download instead of a file in a folder.
    explicit frmMain(MessageBoxes& boxes,
                     modVisitWebsite::Opener openWebsite = modVisitWebsite::openWebsite,
                     Downloader downloader = browserDownload(), QWidget* parent = nullptr);
    ~frmMain() override;

    // A random style value from 1 to strMax, as the Random button draws them.
    static std::int16_t RandomValue(const std::int16_t& strMax);

    void scrOgen_Change();
    void scrMond_Change();
    void cmdRandom_Click();
    void cmdSave_Click();
    void lblVisit_Click();
    void lblVisit_MouseMove();
    void Form_MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createControls();
    void setUnderline(bool on);
    void describePreview();

    MessageBoxes& m_boxes;
    modVisitWebsite::Opener m_openWebsite;
    Downloader m_downloader;
    QFrame* m_picBorder = nullptr;
    FacePreview* m_picSmiley = nullptr;
    QPushButton* m_cmdSave = nullptr;
    LinkLabel* m_lblVisit = nullptr;
    QFrame* m_fraOpties = nullptr;
    QScrollBar* m_scrMond = nullptr;
    QScrollBar* m_scrOgen = nullptr;
    QLabel* m_lblMond = nullptr;
    QLabel* m_lblOgen = nullptr;
    QLabel* m_lblPreview = nullptr;
    QFrame* m_fraLine = nullptr;
    QPushButton* m_cmdRandom = nullptr;

    // The save dialog has no owner window; it lives from its first showing until its
    // close box is used or the program ends.
    std::unique_ptr<frmSave> m_frmSave;
};
