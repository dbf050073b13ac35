#include "frmMain.h"

#include "catalogue.h"
#include "commandbutton.h"
#include "dialogfont.h"
#include "facecopy.h"
#include "facepreview.h"
#include "frmSave.h"
#include "linklabel.h"
#include "modVisitWebsite.h"
#include "msgbox.h"
#include "namedcontrol.h"
#include "programart.h"
#include "programinfo.h"
#include "randomvalue.h"
#include "startfolder.h"
#include "stylenames.h"
#include "twipsgeometry.h"
#include "untrappederror.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace {

// Client area of the window, in twips.
constexpr int clientWidth = 4215;
constexpr int clientHeight = 3000;

// Where picSmiley sits inside picBorder, measured from inside its border.
constexpr Twips::Rect smileyRect{600, 600, 285, 285};

// A scroll bar that picks a style from 0 to maximum, one style a step. Qt's horizontal scroll
// bars invert their arrow keys; here the right arrow goes to the next style.
QScrollBar* styleBar(QWidget* container, const char* name, const Twips::Rect& rect, int maximum,
                     const QString& accessibleName)
{
    auto* bar = named(new QScrollBar(Qt::Horizontal, container), name);
    setTwipsGeometry(bar, rect);
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setInvertedControls(false);
    bar->setContextMenuPolicy(Qt::NoContextMenu);
    bar->setAccessibleName(accessibleName);
    return bar;
}

} // namespace

frmMain::frmMain(MessageBoxes& boxes, modVisitWebsite::Opener openWebsite, Downloader downloader,
                 QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_boxes(boxes), m_openWebsite(std::move(openWebsite)), m_downloader(std::move(downloader))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(
        QStringLiteral("Snoetjesmal v%1 - Quorvelin Software").arg(ProgramInfo::version));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    setTwipsClientSize(this, clientWidth, clientHeight);
    // The underline of the link goes off when the pointer moves over the bare window.
    setMouseTracking(true);
    createControls();
    if (const QScreen* screen = this->screen()) {
        QRect centred = rect();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    m_picBorder = named(new QFrame(this), "picBorder");
    setTwipsGeometry(m_picBorder, {240, 480, 1500, 1575});
    m_picBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picBorder->setLineWidth(2);
    m_picBorder->setAutoFillBackground(true);
    QPalette white = m_picBorder->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_picBorder->setPalette(white);
    m_picBorder->setFocusPolicy(Qt::StrongFocus);
    m_picBorder->setAccessibleName(QStringLiteral("Preview"));

    m_picSmiley = named(new FacePreview(m_picBorder), "picSmiley");
    const int border = m_picBorder->frameWidth();
    setTwipsGeometry(m_picSmiley, smileyRect);
    m_picSmiley->move(m_picSmiley->pos() + QPoint(border, border));

    m_cmdSave = named(new CommandButton(QStringLiteral("Opslaan"), this), "cmdSave");
    setTwipsGeometry(m_cmdSave, {3120, 2520, 975, 375});

    m_lblVisit = named(new LinkLabel(QStringLiteral("Bezoek ") + modVisitWebsite::siteName, this),
                       "lblVisit");
    setTwipsGeometry(m_lblVisit, {120, 2640, 1935, 255});
    m_lblVisit->setAccessibleName(m_lblVisit->text());
    m_lblVisit->setAccessibleDescription(modVisitWebsite::homePage.toString());
    m_lblVisit->installEventFilter(this);

    // A frame without a caption: an etched rectangle around the two bars. Drawn by the style
    // from lines, where a group box would have it read a picture of its frame.
    m_fraOpties = named(new QFrame(this), "fraOpties");
    setTwipsGeometry(m_fraOpties, {1920, 395, 2175, 1680});
    m_fraOpties->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_fraOpties->setFont(dialogFont(true));

    m_scrMond = styleBar(m_fraOpties, "scrMond", {120, 1080, 1935, 255}, Catalogue::mouthMaximum,
                         QStringLiteral("Mond"));
    m_scrOgen = styleBar(m_fraOpties, "scrOgen", {120, 480, 1935, 255}, Catalogue::eyeMaximum,
                         QStringLiteral("Ogen"));

    // The frame's bold font would pass on to its labels; they stay regular.
    m_lblMond = named(new QLabel(QStringLiteral("Mond:"), m_fraOpties), "lblMond");
    setTwipsGeometry(m_lblMond, {120, 840, 1215, 255});
    m_lblMond->setFont(dialogFont());
    m_lblMond->setBuddy(m_scrMond);

    m_lblOgen = named(new QLabel(QStringLiteral("Ogen:"), m_fraOpties), "lblOgen");
    setTwipsGeometry(m_lblOgen, {120, 240, 1815, 255});
    m_lblOgen->setFont(dialogFont());
    m_lblOgen->setBuddy(m_scrOgen);

    m_lblPreview = named(new QLabel(QStringLiteral("Preview:"), this), "lblPreview");
    setTwipsGeometry(m_lblPreview, {240, 240, 1335, 255});

    m_fraLine = named(new QFrame(this), "fraLine");
    setTwipsGeometry(m_fraLine, {120, 2280, 3975, 135});
    m_fraLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    m_cmdRandom = named(new CommandButton(QStringLiteral("Random"), this), "cmdRandom");
    setTwipsGeometry(m_cmdRandom, {2160, 2520, 975, 375});

    // The tab order of the controls that take the focus.
    setTabOrder(m_picBorder, m_cmdSave);
    setTabOrder(m_cmdSave, m_lblVisit);
    setTabOrder(m_lblVisit, m_scrMond);
    setTabOrder(m_scrMond, m_scrOgen);
    setTabOrder(m_scrOgen, m_cmdRandom);

    connect(m_scrOgen, &QScrollBar::valueChanged, this, &frmMain::scrOgen_Change);
    connect(m_scrMond, &QScrollBar::valueChanged, this, &frmMain::scrMond_Change);
    connect(m_cmdRandom, &QPushButton::clicked, this, &frmMain::cmdRandom_Click);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(m_lblVisit, &LinkLabel::activated, this, &frmMain::lblVisit_Click);

    describePreview();

    // Copying and dragging the face out of the window (facecopy.h): Ctrl+C, the preview's
    // context menu with "Kopiëren" and "Kopiëren als 128 × 128", and dragging the preview.
    installFaceCopy(this, m_picBorder, m_picSmiley, m_boxes);
}

void frmMain::describePreview()
{
    // Each style by the name the renderer takes.
    const QString eyes = StyleNames::nameOf(StyleNames::Part::Eyes, m_scrOgen->value());
    const QString mouth = StyleNames::nameOf(StyleNames::Part::Mouth, m_scrMond->value());
    const QString description = QStringLiteral("Ogen: %1, mond: %2").arg(eyes, mouth);
    m_picBorder->setAccessibleDescription(description);
    m_picSmiley->setAccessibleName(QStringLiteral("Preview"));
    m_picSmiley->setAccessibleDescription(description);
    m_scrOgen->setAccessibleDescription(eyes);
    m_scrMond->setAccessibleDescription(mouth);
    // The same for everyone who points at a bar.
    m_scrOgen->setToolTip(QStringLiteral("Ogen: ") + eyes);
    m_scrMond->setToolTip(QStringLiteral("Mond: ") + mouth);
}

std::int16_t frmMain::RandomValue(const std::int16_t& strMax)
{
    return ::RandomValue(strMax);
}

void frmMain::scrOgen_Change()
{
    runHandler(m_boxes, this, [this] {
        const auto describe = qScopeGuard([this] { describePreview(); });
        m_picSmiley->recomposeEyes(m_scrOgen->value());
    });
}

void frmMain::scrMond_Change()
{
    runHandler(m_boxes, this, [this] {
        const auto describe = qScopeGuard([this] { describePreview(); });
        m_picSmiley->recomposeMouth(m_scrMond->value());
    });
}

void frmMain::cmdRandom_Click()
{
    runHandler(m_boxes, this, [this] {
        // Both styles are drawn before either bar moves; the eyes are set first.
        const auto eyesMax = static_cast<std::int16_t>(m_scrOgen->maximum());
        const auto mouthMax = static_cast<std::int16_t>(m_scrMond->maximum());
        const std::int16_t eyes = RandomValue(eyesMax);
        const std::int16_t mouth = RandomValue(mouthMax);
        m_scrOgen->setValue(eyes);
        m_scrMond->setValue(mouth);
    });
}

void frmMain::cmdSave_Click()
{
    runHandler(m_boxes, this, [this] {
        // A dialog closed with its close box is let go of once shown no more: here, or
        // where showing does not wait (in a browser), at the next showing.
        if (m_frmSave && m_frmSave->wasClosed()) {
            m_frmSave.reset();
        }
        if (!m_frmSave) {
            const frmSave::Preview preview{[this] { return m_picSmiley->Image(); },
                                           [this](const QImage& picture) {
                                               m_picSmiley->setPicture(picture);
                                           }};
            m_frmSave =
                m_downloader
                    ? std::make_unique<frmSave>(this, windowIcon(), preview, m_boxes, m_downloader)
                    : std::make_unique<frmSave>(this, windowIcon(), preview, m_boxes,
                                                StartFolder::forSaveDialog());
        }
        m_frmSave->showModal();
        if (m_frmSave->wasClosed()) {
            m_frmSave.reset();
        }
    });
}

void frmMain::lblVisit_Click()
{
    setUnderline(false);
    bool opened = false;
    try {
        opened = m_openWebsite(this, modVisitWebsite::homePage);
    } catch (...) {
        opened = false;
    }
    if (!opened) {
        MsgBox(m_boxes, this,
               QStringLiteral("Fout opgetreden bij het openen van de internetpagina.\r\n"
                              "Start handmatig de internetbrowser op, en ga naar ") +
                   modVisitWebsite::homePage.toString(),
               MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation | MsgBoxStyle::SystemModal,
               applicationTitle);
    }
}

void frmMain::lblVisit_MouseMove()
{
    setUnderline(true);
}

void frmMain::Form_MouseMove()
{
    setUnderline(false);
}

void frmMain::setUnderline(bool on)
{
    QFont font = m_lblVisit->font();
    if (font.underline() != on) {
        font.setUnderline(on);
        m_lblVisit->setFont(font);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblVisit && event->type() == QEvent::MouseMove) {
        lblVisit_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}
