#include "frmSave.h"

#include "commandbutton.h"
#include "dialogfont.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "modality.h"
#include "namedcontrol.h"
#include "programinfo.h"
#include "savetarget.h"
#include "settingstore.h"
#include "twipsgeometry.h"
#include "untrappederror.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// Client area of the dialog, in twips.
constexpr int clientWidth = 4605;
constexpr int clientHeight = 3465;

// Without the drive and folder lists (a browser's dialog), what is below them moves up by
// their height.
constexpr int listsHeight = 1800;

const QString defaultFilename = QStringLiteral("emoticon");

// The classic dialog font is narrow; where the system's stand-in is wider, a caption that
// would be cut off at its label's edge is set a little smaller, so that it is read whole.
void fitCaption(QLabel* label)
{
    constexpr qreal smallest = 6.0;
    QFont font = label->font();
    while (QFontMetricsF(font).horizontalAdvance(label->text()) + std::max(0, label->indent()) >
               label->contentsRect().width() &&
           font.pointSizeF() > smallest) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    label->setFont(font);
}

} // namespace

frmSave::frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
                 const QString& startFolder, ImageFileWriter writer)
    : frmSave(mainWindow, icon, std::move(preview), boxes, std::move(writer), {})
{
    setTwipsClientSize(this, clientWidth, clientHeight);
    createControls(&startFolder);
    placeOnScreen();
    Form_Load();
}

frmSave::frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
                 Downloader downloader)
    : frmSave(mainWindow, icon, std::move(preview), boxes, {}, std::move(downloader))
{
    setTwipsClientSize(this, clientWidth, clientHeight - listsHeight);
    createControls(nullptr);
    placeOnScreen();
    Form_Load();
}

frmSave::frmSave(QWidget* mainWindow, const QIcon& icon, Preview preview, MessageBoxes& boxes,
                 ImageFileWriter writer, Downloader downloader)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_mainWindow(mainWindow), m_icon(icon), m_preview(std::move(preview)), m_boxes(boxes),
      m_flow(boxes, std::move(writer)), m_downloader(std::move(downloader))
{
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QStringLiteral("Opslaan als"));
    setFont(dialogFont());
    setSizeGripEnabled(false);
}

void frmSave::placeOnScreen()
{
    if (const QScreen* screen = m_mainWindow ? m_mainWindow->screen() : this->screen()) {
        QRect centred = rect();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

frmSave::~frmSave() = default;

void frmSave::createControls(const QString* startFolder)
{
    m_lblInfo = named(new QLabel(startFolder != nullptr
                                     ? QStringLiteral("Kies een locatie waar de emoticon moet "
                                                      "worden opgeslagen.")
                                     : QStringLiteral("Kies een naam; de browser downloadt de "
                                                      "emoticon."),
                                 this),
                      "lblInfo");
    setTwipsGeometry(m_lblInfo, {120, 120, 4335, 255});

    const int shift = startFolder != nullptr ? 0 : listsHeight;
    if (startFolder != nullptr) {
        // The drive list follows the folder list, also where that could not open startFolder.
        m_dirMap = named(new DirListBox(*startFolder, this), "dirMap");
        setTwipsGeometry(m_dirMap, {120, 840, 4335, 1440});
        m_dirMap->setAccessibleName(QStringLiteral("Map"));

        m_drvStation = named(new DriveListBox(m_dirMap->Path(), this), "drvStation");
        setTwipsGeometry(m_drvStation, {120, 480, 4335, 315});
        m_drvStation->setAccessibleName(QStringLiteral("Station"));
    }

    m_lblFilename = named(new QLabel(QStringLiteral("Bestandsnaam:"), this), "lblFilename");
    setTwipsGeometry(m_lblFilename, {120, 2475 - shift, 1335, 255});
    m_lblFilename->setFont(dialogFont(true));

    m_txtFilename = named(new QLineEdit(QStringLiteral("emoticon"), this), "txtFilename");
    setTwipsGeometry(m_txtFilename, {1560, 2400 - shift, 2055, 285});
    m_lblFilename->setBuddy(m_txtFilename);

    m_lblExtension = named(new QLabel(SaveTarget::extension, this), "lblExtension");
    setTwipsGeometry(m_lblExtension, {3600, 2475 - shift, 495, 255});
    // The name box reaches a pixel into this label; the text keeps clear of its border.
    m_lblExtension->setIndent(3);

    for (QLabel* label : {m_lblInfo, m_lblFilename, m_lblExtension}) {
        fitCaption(label);
    }

    m_fraBorder = named(new QFrame(this), "fraBorder");
    setTwipsGeometry(m_fraBorder, {120, 2760 - shift, 4335, 135});
    m_fraBorder->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    m_cmdCancel = named(new CommandButton(QStringLiteral("Annuleer"), this), "cmdCancel");
    setTwipsGeometry(m_cmdCancel, {2520, 3000 - shift, 975, 375});

    m_cmdSave = named(new CommandButton(QStringLiteral("Opslaan"), this), "cmdSave");
    setTwipsGeometry(m_cmdSave, {3480, 3000 - shift, 975, 375});

    // The tab order: cmdSave first, so it has the focus when the dialog is first shown.
    // The labels and the separator take no focus.
    setTabOrder(m_cmdSave, m_cmdCancel);
    if (m_drvStation != nullptr) {
        setTabOrder(m_cmdCancel, m_drvStation);
        setTabOrder(m_drvStation, m_dirMap);
        setTabOrder(m_dirMap, m_txtFilename);
        connect(m_drvStation, &DriveListBox::driveChanged, this, &frmSave::drvStation_Change);
    } else {
        setTabOrder(m_cmdCancel, m_txtFilename);
    }
    m_cmdSave->setFocus();

    connect(m_txtFilename, &QLineEdit::textChanged, this, &frmSave::txtFilename_Change);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmSave::cmdSave_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmSave::cmdCancel_Click);
}

void frmSave::showModal()
{
    m_closed = false;
    Modality::showModal(*this);
}

void frmSave::Form_Load()
{
    setWindowIcon(m_icon);
    // Where this changes the text, txtFilename_Change stores the same value back.
    m_txtFilename->setText(GetSetting(ProgramInfo::settingsOrganisation,
                                      ProgramInfo::settingsApplication, ProgramInfo::settingsKey,
                                      defaultFilename));
}

void frmSave::txtFilename_Change()
{
    // Every keystroke is kept, whatever becomes of the dialog; a store that cannot be
    // written is no reason to stop anyone typing.
    SaveSetting(ProgramInfo::settingsOrganisation, ProgramInfo::settingsApplication,
                ProgramInfo::settingsKey, m_txtFilename->text());
}

void frmSave::drvStation_Change()
{
    // A drive that cannot be read shows nothing: the folder list keeps its folder.
    if (m_drvStation == nullptr) {
        return;
    }
    try {
        m_dirMap->setPath(m_drvStation->Drive());
    } catch (...) {
    }
}

void frmSave::cmdSave_Click()
{
    runHandler(m_boxes, this, [this] {
        if (save()) {
            hide();
            if (!m_downloader) {
                MsgBox(m_boxes, m_mainWindow, QStringLiteral("Succesvol opgeslagen!"),
                       MsgBoxStyle::Information);
            }
        }
    });
}

bool frmSave::save()
{
    const auto picture = [this] {
        return takePicture();
    };
    if (m_downloader) {
        return m_flow.download(this, m_txtFilename->text(), picture, m_downloader);
    }
    return m_flow.save(this, m_dirMap->Path(), m_txtFilename->text(), picture);
}

QImage frmSave::takePicture()
{
    // The drawing becomes the preview's picture on the way to the file; on screen nothing
    // changes.
    const QImage picture = m_preview.image();
    m_preview.setPicture(picture);
    return picture;
}

void frmSave::cmdCancel_Click()
{
    hide();
}

void frmSave::closeEvent(QCloseEvent* event)
{
    // The close box discards the dialog: the main window lets go of it once exec returns.
    m_closed = true;
    QDialog::closeEvent(event);
}

void frmSave::keyPressEvent(QKeyEvent* event)
{
    // No default and no cancel button: Enter saves nothing and Escape keeps the dialog open.
    // (A button with the focus answers Enter itself, before it comes here.)
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
