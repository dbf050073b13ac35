// The save dialog: its layout, the drive and folder lists, the remembered name, what a save
// writes and asks, the faults it reports, and how it is hidden, shown again and discarded.
// Files are written into temporary folders only, and the settings go to a temporary folder
// set up before the application starts: the user's own files are never touched.

#include "bmpencoding.h"
#include "dialogfont.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "facefile.h"
#include "facepreview.h"
#include "frmMain.h"
#include "frmSave.h"
#include "msgbox.h"
#include "volumes.h"

#include "folderfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString organisation = QStringLiteral("QuorvelinSoftware");
const QString application = QStringLiteral("Snoetjesmal");
const QString key = QStringLiteral("Filename");

// Where the settings of this test go; made before the application starts.
QTemporaryDir* settingsFolder = nullptr;

void useSettingsIn(const QString& folder)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

QVariant storedName()
{
    const QSettings settings(organisation, application);
    return settings.value(key);
}

void storeName(const QString& name)
{
    QSettings settings(organisation, application);
    settings.setValue(key, name);
}

void forgetName()
{
    QSettings settings(organisation, application);
    settings.remove(key);
}

template <typename T = QWidget> T* control(const QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The one save dialog that is on screen, if any.
frmSave* shownDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<frmSave*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Runs the step while the main window's "Opslaan" shows the dialog modally. Whatever the
// step does, the dialog is put away afterwards so that the test cannot hang.
void whileShown(frmMain& main, const std::function<void(frmSave&)>& step)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        frmSave* dialog = shownDialog();
        const auto putAway = qScopeGuard([] {
            if (frmSave* still = shownDialog()) {
                still->hide();
            }
        });
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isModal());
        ran = true;
        step(*dialog);
    });
    main.cmdSave_Click();
    QVERIFY(ran);
}

} // namespace

class TestFrmSave : public QObject
{
    Q_OBJECT

    struct Box
    {
        MsgBoxRequest request;
        bool dialogVisible = false;
    };

    QList<Box> m_boxes;
    QList<int> m_answers; // for Yes/No boxes, in turn; No when none is left
    std::optional<QTemporaryDir> m_dir;
    QString m_folder;
    std::unique_ptr<frmMain> m_main;

    frmSave& newDialog()
    {
        m_dialog = std::make_unique<frmSave>(*m_main);
        return *m_dialog;
    }
    std::unique_ptr<frmSave> m_dialog;

    QLineEdit* name() const { return control<QLineEdit>(*m_dialog, "txtFilename"); }
    DirListBox* dirMap() const { return control<DirListBox>(*m_dialog, "dirMap"); }
    DriveListBox* drvStation() const { return control<DriveListBox>(*m_dialog, "drvStation"); }
    QPushButton* cmdSave() const { return control<QPushButton>(*m_dialog, "cmdSave"); }
    QPushButton* cmdCancel() const { return control<QPushButton>(*m_dialog, "cmdCancel"); }

    // Shows a new dialog (not modally) at a folder with a name, ready to save.
    frmSave& shownAt(const QString& folder, const QString& typed)
    {
        frmSave& dialog = newDialog();
        dialog.show();
        [&] {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        }();
        [&] {
            QVERIFY(dirMap()->setPath(folder));
        }();
        name()->setText(typed);
        return dialog;
    }

    QList<MsgBoxRequest> requests() const
    {
        QList<MsgBoxRequest> result;
        for (const Box& box : m_boxes) {
            result.append(box.request);
        }
        return result;
    }

    void verifySaved(const QString& path)
    {
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes.at(0).request.text, u"Succesvol opgeslagen!"_qs);
        QCOMPARE(m_boxes.at(0).request.style, 64);
        QCOMPARE(m_boxes.at(0).request.title, u"Snoetjesmal"_qs);
        // The dialog is put away before the box shows.
        QVERIFY(!m_boxes.at(0).dialogVisible);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_dialog->wasClosed());
        QCOMPARE(contents(path), encodeBmp(m_main->picSmiley()->Image()));
    }

    // A "Fout" box with this reason, and the dialog still open as it was.
    void verifyRefused(const QString& reason)
    {
        QCOMPARE(m_boxes.size(), 1);
        const MsgBoxRequest& box = m_boxes.at(0).request;
        QCOMPARE(box.title, u"Fout"_qs);
        QCOMPARE(box.style, 4144);
        QVERIFY2(box.text.startsWith(u"Fout opgetreden:\r\n"_qs), qPrintable(box.text));
        if (!reason.isEmpty()) {
            QCOMPARE(box.text, u"Fout opgetreden:\r\n"_qs + reason);
        }
        QVERIFY(m_boxes.at(0).dialogVisible);
        QVERIFY(m_dialog->isVisible());
    }

private Q_SLOTS:
    void initTestCase()
    {
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
        QSKIP("the user's own settings cannot be kept apart from the test's on this system");
#endif
        QVERIFY(settingsFolder != nullptr && settingsFolder->isValid());
        useSettingsIn(settingsFolder->path());
    }

    void init()
    {
        useSettingsIn(settingsFolder->path());
        forgetName();
        setFaceFileWriter({});
        m_boxes.clear();
        m_answers.clear();
        setMsgBoxResponder([this](const MsgBoxRequest& request) {
            m_boxes.append({request, m_dialog && m_dialog->isVisible()});
            if ((request.style & 0x0f) == MsgBoxStyle::YesNo) {
                return m_answers.isEmpty() ? MsgBoxResult::No : m_answers.takeFirst();
            }
            return MsgBoxResult::Ok;
        });
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        m_main = std::make_unique<frmMain>();
        // A face that is not the blank one, so that a file of the blank face proves nothing.
        control<QScrollBar>(*m_main, "scrOgen")->setValue(3);
        control<QScrollBar>(*m_main, "scrMond")->setValue(4);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_main.reset();
        setMsgBoxResponder({});
        setFaceFileWriter({});
    }

    void window()
    {
        QPixmap red(32, 32);
        red.fill(Qt::red);
        m_main->setWindowIcon(QIcon(red));
        const frmSave& dialog = newDialog();
        QCOMPARE(dialog.windowTitle(), u"Opslaan als"_qs);
        QVERIFY(dialog.parentWidget() == nullptr);
        // 4605 x 3465 twips, and not resizable.
        QCOMPARE(dialog.size(), QSize(307, 231));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!dialog.isSizeGripEnabled());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(dialog.windowIcon().pixmap(32).toImage(), red.toImage());
        // Centred on the screen.
        const QRect screen = dialog.screen()->availableGeometry();
        QVERIFY(qAbs(dialog.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(dialog.geometry().center().y() - screen.center().y()) <= 1);
    }

    // Positions in pixels: the table's twips divided by 15.
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("lblInfo") << u"lblInfo"_qs << QByteArray("QLabel") << QRect(8, 8, 289, 17);
        QTest::newRow("drvStation")
            << u"drvStation"_qs << QByteArray("DriveListBox") << QRect(8, 32, 289, 21);
        QTest::newRow("dirMap") << u"dirMap"_qs << QByteArray("DirListBox")
                                << QRect(8, 56, 289, 96);
        QTest::newRow("lblFilename")
            << u"lblFilename"_qs << QByteArray("QLabel") << QRect(8, 165, 89, 17);
        QTest::newRow("txtFilename")
            << u"txtFilename"_qs << QByteArray("QLineEdit") << QRect(104, 160, 137, 19);
        QTest::newRow("lblExtension")
            << u"lblExtension"_qs << QByteArray("QLabel") << QRect(240, 165, 33, 17);
        QTest::newRow("fraBorder")
            << u"fraBorder"_qs << QByteArray("QFrame") << QRect(8, 184, 289, 9);
        QTest::newRow("cmdCancel")
            << u"cmdCancel"_qs << QByteArray("QPushButton") << QRect(168, 200, 65, 25);
        QTest::newRow("cmdSave") << u"cmdSave"_qs << QByteArray("QPushButton")
                                 << QRect(232, 200, 65, 25);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, kind);
        QFETCH(QRect, rect);
        const frmSave& dialog = newDialog();
        const auto* widget = dialog.findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->parentWidget(), &dialog);
        QCOMPARE(QByteArray(widget->metaObject()->className()), kind);
        QCOMPARE(widget->geometry(), rect);
    }

    void captionsAndFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("bold");
        QTest::newRow("lblInfo") << u"lblInfo"_qs
                                 << u"Kies een locatie waar de emoticon moet worden opgeslagen."_qs
                                 << false;
        QTest::newRow("lblFilename") << u"lblFilename"_qs << u"Bestandsnaam:"_qs << true;
        QTest::newRow("txtFilename") << u"txtFilename"_qs << u"emoticon"_qs << false;
        QTest::newRow("lblExtension") << u"lblExtension"_qs << u".bmp"_qs << false;
        QTest::newRow("cmdCancel") << u"cmdCancel"_qs << u"Annuleer"_qs << false;
        QTest::newRow("cmdSave") << u"cmdSave"_qs << u"Opslaan"_qs << false;
    }

    void captionsAndFonts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, bold);
        const frmSave& dialog = newDialog();
        const auto* widget = dialog.findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->property("text").toString(), caption);
        const QFont font = widget->font();
        const QFont classic = dialogFont(bold);
        QCOMPARE(font.family(), classic.family());
        QCOMPARE(font.bold(), bold);
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label == nullptr) {
            QCOMPARE(font, classic);
            return;
        }
        // A caption is read whole: where the font is wider than the classic one, the
        // label's text is set smaller, and only then.
        const int room = label->contentsRect().width() - std::max(0, label->indent());
        const auto advance = [&](const QFont& f) {
            return QFontMetricsF(f).horizontalAdvance(caption);
        };
        QVERIFY2(advance(font) <= room,
                 qPrintable(u"%1 px wide in %2 px"_qs.arg(advance(font)).arg(room)));
        if (advance(classic) <= room) {
            QCOMPARE(font, classic);
        } else {
            QVERIFY(font.pointSizeF() < classic.pointSizeF());
            QVERIFY(font.pointSizeF() >= 6.0);
        }
    }

    void separatorIsALine()
    {
        const frmSave& dialog = newDialog();
        const auto* line = control<QFrame>(dialog, "fraBorder");
        QCOMPARE(line->frameShape(), QFrame::HLine);
        QCOMPARE(line->focusPolicy(), Qt::NoFocus);
    }

    void tabOrderStartsAtSave()
    {
        frmSave& dialog = newDialog();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.focusWidget(), cmdSave());
        const QStringList expected{u"cmdSave"_qs, u"cmdCancel"_qs, u"drvStation"_qs, u"dirMap"_qs,
                                   u"txtFilename"_qs};
        QStringList order;
        QWidget* widget = cmdSave();
        for (qsizetype i = 0; i < expected.size(); ++i) {
            order.append(widget->objectName());
            do {
                widget = widget->nextInFocusChain();
            } while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() ||
                     widget->window() != &dialog);
        }
        QCOMPARE(order, expected);
        QCOMPARE(widget, cmdSave()); // and round again
    }

    void noDefaultOrCancelButton()
    {
        shownAt(m_folder, u"emoticon"_qs);
        for (const QPushButton* button : {cmdSave(), cmdCancel()}) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
        // Enter in the name box saves nothing; Escape anywhere keeps the dialog open.
        QTest::keyClick(name(), Qt::Key_Return);
        QTest::keyClick(name(), Qt::Key_Enter);
        QTest::keyClick(name(), Qt::Key_Escape);
        QTest::keyClick(cmdCancel(), Qt::Key_Escape);
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QTest::keyClick(m_dialog.get(), Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(!m_dialog->wasClosed());
        QVERIFY(entries(m_folder).isEmpty());
        QVERIFY(m_boxes.isEmpty());
    }

    void savesIntoNestedFolders_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::newRow("folder") << QString();
        QTest::newRow("nested") << u"a/b/c"_qs;
        QTest::newRow("folder named like a file") << u"x.bmp"_qs;
    }

    void savesIntoNestedFolders()
    {
        QFETCH(QString, sub);
        const QString folder = sub.isEmpty() ? m_folder : m_folder + QLatin1Char('/') + sub;
        QVERIFY(QDir().mkpath(folder));
        shownAt(folder, u"emoticon"_qs);
        QCOMPARE(dirMap()->Path(), native(folder));

        QTest::mouseClick(cmdSave(), Qt::LeftButton);

        verifySaved(folder + u"/emoticon.bmp"_qs);
        QCOMPARE(entries(folder), QStringList{u"emoticon.bmp"_qs});
    }

    void theRootGetsNoSecondSeparator()
    {
        // Nothing is written to the root: the writer only records the name.
        QStringList written;
        setFaceFileWriter([&](const QString& path, const QImage&) {
            written << path;
            return FaceFileResult{true, {}};
        });
        shownAt(QDir::rootPath(), u"snoetjesmal-proef-die-er-niet-is"_qs);
        cmdSave()->click();
        QCOMPARE(written, QStringList{native(QDir::rootPath()) +
                                      u"snoetjesmal-proef-die-er-niet-is.bmp"_qs});
    }

    void theFileHoldsExactlyThePreview()
    {
        shownAt(m_folder, u"emoticon"_qs);
        const QImage preview = m_main->picSmiley()->Image();
        cmdSave()->click();

        QImage written;
        QVERIFY(written.load(m_folder + u"/emoticon.bmp"_qs, "BMP"));
        QCOMPARE(written.size(), QSize(19, 19));
        for (int y = 0; y < 19; ++y) {
            for (int x = 0; x < 19; ++x) {
                QCOMPARE(written.pixel(x, y) | 0xff000000U, preview.pixel(x, y) | 0xff000000U);
            }
        }
        // The preview's picture is now what it showed; on screen nothing changed.
        QCOMPARE(m_main->picSmiley()->Picture(), preview);
        QCOMPARE(m_main->picSmiley()->Image(), preview);
    }

    void theTypedNameIsUsedUnchanged_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("own extension") << u"foto.bmp"_qs << u"foto.bmp.bmp"_qs;
        QTest::newRow("empty") << QString() << u".bmp"_qs;
        QTest::newRow("spaces") << u" blij "_qs << u" blij .bmp"_qs;
        QTest::newRow("star") << u"*"_qs << u"*.bmp"_qs;
        QTest::newRow("question mark") << u"?"_qs << u"?.bmp"_qs;
    }

    void theTypedNameIsUsedUnchanged()
    {
        QFETCH(QString, typed);
        QFETCH(QString, fileName);
        shownAt(m_folder, typed);
        cmdSave()->click();
        verifySaved(m_folder + QLatin1Char('/') + fileName);
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void replaceQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(MsgBoxResult::Yes);
        QTest::newRow("no") << int(MsgBoxResult::No);
    }

    void replaceQuestion()
    {
        QFETCH(int, answer);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        shownAt(m_folder, u"emoticon"_qs);
        cmdSave()->click();
        const QByteArray first = contents(path);
        QVERIFY(!first.isEmpty());

        // Another face, saved under the same name.
        control<QScrollBar>(*m_main, "scrMond")->setValue(9);
        m_dialog->show();
        m_boxes.clear();
        m_answers = {answer};
        cmdSave()->click();

        QVERIFY(!m_boxes.isEmpty());
        const MsgBoxRequest& question = m_boxes.at(0).request;
        QCOMPARE(
            question.text,
            u"Het bestand op de aangegeven locatie bestaat al, wil je het bestand vervangen?"_qs);
        QCOMPARE(question.title, u"Bestand vervangen"_qs);
        QCOMPARE(question.style, 4164);
        QVERIFY(m_boxes.at(0).dialogVisible);
        if (answer == MsgBoxResult::No) {
            QCOMPARE(m_boxes.size(), 1);
            QCOMPARE(contents(path), first);
            QVERIFY(m_dialog->isVisible());
            QCOMPARE(name()->text(), u"emoticon"_qs);
            QCOMPARE(dirMap()->Path(), native(m_folder));
        } else {
            QCOMPARE(m_boxes.size(), 2);
            QCOMPARE(m_boxes.at(1).request.text, u"Succesvol opgeslagen!"_qs);
            QVERIFY(contents(path) != first);
            QCOMPARE(contents(path), encodeBmp(m_main->picSmiley()->Image()));
            QVERIFY(!m_dialog->isVisible());
        }
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
    }

    void aHiddenFileAsksToo_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty name") << QString();
        QTest::newRow("dot name") << u".geheim"_qs;
    }

    void aHiddenFileAsksToo()
    {
        QFETCH(QString, typed);
        const QString path = m_folder + QLatin1Char('/') + typed + u".bmp"_qs;
        {
            QFile hidden(path);
            QVERIFY(hidden.open(QIODevice::WriteOnly));
            hidden.write("verborgen");
        }
        shownAt(m_folder, typed);
        cmdSave()->click();
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes.at(0).request.title, u"Bestand vervangen"_qs);
        QCOMPARE(contents(path), QByteArray("verborgen"));
    }

    void wildcardsMatchOnlyThemselves_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("star") << u"*"_qs;
        QTest::newRow("question mark") << u"?"_qs;
        QTest::newRow("both") << u"emo*?"_qs;
    }

    void wildcardsMatchOnlyThemselves()
    {
        QFETCH(QString, typed);
        for (const QString& other : {u"a.bmp"_qs, u"emoticon.bmp"_qs}) {
            QFile file(m_folder + QLatin1Char('/') + other);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("ander");
        }
        shownAt(m_folder, typed);
        cmdSave()->click();
        // No question: nothing of exactly that name was there.
        verifySaved(m_folder + QLatin1Char('/') + typed + u".bmp"_qs);
        QCOMPARE(contents(m_folder + u"/a.bmp"_qs), QByteArray("ander"));
        QCOMPARE(contents(m_folder + u"/emoticon.bmp"_qs), QByteArray("ander"));
    }

    void aFolderOfThatNameErrorsAndStays()
    {
        QVERIFY(QDir(m_folder).mkpath(u"emoticon.bmp/binnen"_qs));
        shownAt(m_folder, u"emoticon"_qs);
        cmdSave()->click();
        verifyRefused({});
        QVERIFY(m_boxes.at(0).request.text.contains(u"map"_qs));
        QCOMPARE(entries(m_folder + u"/emoticon.bmp"_qs), QStringList{u"binnen"_qs});
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
        // The preview's picture is only taken on the way to writing.
        QVERIFY(m_main->picSmiley()->Picture() != m_main->picSmiley()->Image());
    }

    void aRemovedFolder()
    {
        const QString folder = m_folder + u"/weg"_qs;
        QVERIFY(QDir().mkdir(folder));
        shownAt(folder, u"blij"_qs);
        QVERIFY(QDir().rmdir(folder));

        cmdSave()->click();

        verifyRefused(u"Opgegeven map bestaat niet."_qs);
        QCOMPARE(name()->text(), u"blij"_qs);
        QCOMPARE(dirMap()->Path(), native(folder));
        QVERIFY(entries(m_folder).isEmpty());
    }

    void badNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("says");
        QTest::newRow("separator") << u"sub/emoticon"_qs << u"/"_qs;
        QTest::newRow("parent folder") << u"../emoticon"_qs << u"/"_qs;
        QTest::newRow("nul") << (u"emo"_qs + QChar(0) + u"ticon"_qs) << u"nulteken"_qs;
        QTest::newRow("too long") << QString(300, u'a') << u"te lang"_qs;
        QTest::newRow("too long in bytes") << QString(130, QChar(0x00e9)) << u"te lang"_qs;
#ifdef Q_OS_WIN
        QTest::newRow("reserved") << u"a:b"_qs << u"tekens"_qs;
        QTest::newRow("device") << u"con"_qs << u"apparaat"_qs;
#endif
    }

    void badNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, says);
        QVERIFY(QDir(m_folder).mkdir(u"sub"_qs));
        const QString folder = m_folder + u"/sub"_qs;
        shownAt(folder, typed);
        cmdSave()->click();
        verifyRefused({});
        QVERIFY2(m_boxes.at(0).request.text.contains(says), qPrintable(m_boxes.at(0).request.text));
        QVERIFY(entries(folder).isEmpty());
        QCOMPARE(entries(m_folder), QStringList{u"sub"_qs});
    }

    void aFailedWriteIsReported()
    {
        setFaceFileWriter([](const QString&, const QImage&) {
            return FaceFileResult{false, u"De schijf is vol."_qs};
        });
        shownAt(m_folder, u"emoticon"_qs);
        cmdSave()->click();
        verifyRefused(u"De schijf is vol."_qs);
    }

#ifdef Q_OS_UNIX
    void aFolderWithoutWritePermission()
    {
        if (::geteuid() == 0) {
            QSKIP("root writes into any folder; the fault itself is tried in tst_facefile");
        }
        const QString folder = m_folder + u"/dicht"_qs;
        QVERIFY(QDir().mkdir(folder));
        shownAt(folder, u"emoticon"_qs);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        cmdSave()->click();
        verifyRefused(u"Je hebt geen toestemming om op deze plek een bestand op te slaan."_qs);
    }
#endif

    void firstRunShowsTheDefaultAndStoresNothing()
    {
        newDialog();
        QCOMPARE(name()->text(), u"emoticon"_qs);
        QVERIFY(!storedName().isValid());
    }

    void everyKeystrokeIsStored()
    {
        frmSave& dialog = newDialog();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        name()->clear();
        QCOMPARE(storedName().toString(), QString());
        QTest::keyClick(name(), Qt::Key_B);
        QCOMPARE(storedName().toString(), u"b"_qs);
        QTest::keyClicks(name(), u"lij"_qs);
        QCOMPARE(storedName().toString(), u"blij"_qs);
        QTest::keyClick(name(), Qt::Key_Backspace);
        QCOMPARE(storedName().toString(), u"bli"_qs);
    }

    void theNameComesBack_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a name") << u"vrolijk"_qs;
        QTest::newRow("empty stays empty") << QString();
        QTest::newRow("spaces") << u"  "_qs;
    }

    // Abandoned with "Annuleer", then the program ends: the next run shows the name.
    void theNameComesBack()
    {
        QFETCH(QString, typed);
        shownAt(m_folder, typed);
        cmdCancel()->click();
        QVERIFY(!m_dialog->isVisible());
        m_dialog.reset();
        m_main = std::make_unique<frmMain>();

        newDialog();
        QCOMPARE(name()->text(), typed);
        QVERIFY(entries(m_folder).isEmpty());
    }

    void aStoredNameIsRead()
    {
        storeName(u"knipoog"_qs);
        newDialog();
        QCOMPARE(name()->text(), u"knipoog"_qs);
    }

    void brokenSettingsDoNotStopTheDialog_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("unreadable") << u"folder"_qs;
        QTest::newRow("corrupt") << u"garbage"_qs;
    }

    void brokenSettingsDoNotStopTheDialog()
    {
        QFETCH(QString, kind);
        const QTemporaryDir broken;
        QVERIFY(broken.isValid());
        const QString file = broken.path() + u"/QuorvelinSoftware/Snoetjesmal.conf"_qs;
        if (kind == u"folder"_qs) {
            QVERIFY(QDir().mkpath(file)); // a folder where the file should be
        } else {
            QVERIFY(QDir().mkpath(broken.path() + u"/QuorvelinSoftware"_qs));
            QFile garbage(file);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            QByteArray bytes("\xff[[[=\n");
            bytes.append('\0').append('\x01').append("Filename\n");
            garbage.write(bytes);
        }
        useSettingsIn(broken.path());

        shownAt(m_folder, u"emoticon"_qs);
        QTest::keyClicks(name(), u"2"_qs);
        cmdSave()->click();
        verifySaved(m_folder + u"/emoticon2.bmp"_qs);
    }

    void cancelOnlyHides()
    {
        shownAt(m_folder, u"emoticon"_qs);
        storeName(u"anders"_qs);
        cmdCancel()->click();
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_dialog->wasClosed());
        QVERIFY(entries(m_folder).isEmpty());
        QVERIFY(m_boxes.isEmpty());
        // Nothing is stored on the way out.
        QCOMPARE(storedName().toString(), u"anders"_qs);
    }

    // "Annuleer" and a save hide the dialog; the next showing is the same dialog as it was
    // left, not loaded again. The close box discards it and the next showing loads afresh.
    void hiddenVersusClosed()
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        m_main->setWindowIcon(QIcon(red));
        const QString sub = m_folder + u"/sub"_qs;
        QVERIFY(QDir().mkdir(sub));

        QPointer<frmSave> first;
        whileShown(*m_main, [&](frmSave& dialog) {
            first = &dialog;
            QCOMPARE(dialog.focusWidget(), control<QWidget>(dialog, "cmdSave"));
            QVERIFY(control<DirListBox>(dialog, "dirMap")->setPath(sub));
            control<QLineEdit>(dialog, "txtFilename")->setText(u"eerste"_qs);
            control<QPushButton>(dialog, "cmdCancel")->click();
        });
        QVERIFY(first);
        QVERIFY(!first->isVisible());

        // A change of the setting in between is not read: the dialog is not loaded again.
        storeName(u"van buiten"_qs);
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        m_main->setWindowIcon(QIcon(blue));
        whileShown(*m_main, [&](frmSave& dialog) {
            QCOMPARE(&dialog, first.data());
            QCOMPARE(control<QLineEdit>(dialog, "txtFilename")->text(), u"eerste"_qs);
            QCOMPARE(control<DirListBox>(dialog, "dirMap")->Path(), native(sub));
            QCOMPARE(dialog.windowIcon().pixmap(16).toImage(), red.toImage());
            control<QPushButton>(dialog, "cmdSave")->click();
        });
        QVERIFY(first);
        QCOMPARE(entries(sub), QStringList{u"eerste.bmp"_qs});
        QCOMPARE(m_boxes.size(), 1);

        // Shown once more after the save, still as it was; then the close box.
        whileShown(*m_main, [&](frmSave& dialog) {
            QCOMPARE(&dialog, first.data());
            QCOMPARE(control<QLineEdit>(dialog, "txtFilename")->text(), u"eerste"_qs);
            QCOMPARE(control<DirListBox>(dialog, "dirMap")->Path(), native(sub));
            storeName(u"van buiten"_qs);
            dialog.close();
        });
        QVERIFY(!first); // discarded

        whileShown(*m_main, [&](frmSave& dialog) {
            QCOMPARE(control<QLineEdit>(dialog, "txtFilename")->text(), u"van buiten"_qs);
            QCOMPARE(control<DirListBox>(dialog, "dirMap")->Path(), native(QDir::currentPath()));
            QCOMPARE(dialog.windowIcon().pixmap(16).toImage(), blue.toImage());
            control<QPushButton>(dialog, "cmdCancel")->click();
        });
    }

    void theCloseBoxEndsTheModalShowing()
    {
        frmSave& dialog = newDialog();
        QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
        dialog.showModal();
        QVERIFY(dialog.wasClosed());
        QVERIFY(!dialog.isVisible());
        QVERIFY(m_boxes.isEmpty());
    }

    void startsAtTheCurrentFolder()
    {
        const QString before = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
        QVERIFY(QDir::setCurrent(m_folder));
        newDialog();
        QCOMPARE(dirMap()->Path(), native(QDir::currentPath()));
        QCOMPARE(drvStation()->Drive(), native(volumeOf(QDir::currentPath()).rootPath));
        QVERIFY(!drvStation()->currentText().isEmpty());
    }

    void choosingADriveOpensItsRoot()
    {
        shownAt(m_folder, u"emoticon"_qs);
        m_dialog->drvStation_Change();
        QCOMPARE(dirMap()->Path(), drvStation()->Drive());
        QCOMPARE(QDir(dirMap()->Path()).isRoot(), true);
        QVERIFY(m_boxes.isEmpty());
    }

    void theDriveListStartsWithTheRoot()
    {
        newDialog();
        QVERIFY(drvStation()->count() >= 1);
#ifndef Q_OS_WIN
        QCOMPARE(drvStation()->itemData(0).toString(), u"/"_qs);
        QVERIFY(drvStation()->itemText(0).startsWith(u"/"_qs));
#endif
        for (int i = 0; i < drvStation()->count(); ++i) {
            QVERIFY(!drvStation()->itemText(i).isEmpty());
        }
    }

    void folderList()
    {
        const QString open = m_folder + u"/a/b"_qs;
        for (const QString& sub :
             {u"Zeta"_qs, u"alpha"_qs, u"Beta"_qs, u"beta2"_qs, u".verborgen"_qs}) {
            QVERIFY(QDir().mkpath(open + QLatin1Char('/') + sub));
        }
        QFile file(open + u"/bestand.txt"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        newDialog();
        DirListBox* list = dirMap();
        QVERIFY(list->setPath(open));
        QCOMPARE(list->Path(), native(open));

        QStringList expected;
        QStringList chain;
        for (QDir folder(open);; folder.cdUp()) {
            chain.prepend(folder.isRoot() ? native(folder.absolutePath()) : folder.dirName());
            if (folder.isRoot()) {
                break;
            }
        }
        expected << chain << u"alpha"_qs << u"Beta"_qs << u"beta2"_qs << u"Zeta"_qs;
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown << list->item(i)->text();
        }
        QCOMPARE(shown, expected);
        // The open folder is the current item.
        QCOMPARE(list->currentRow(), chain.size() - 1);

        const QStyle* style = list->style();
        const QImage openIcon =
            style->standardIcon(QStyle::SP_DirOpenIcon, nullptr, list).pixmap(16).toImage();
        const QImage closedIcon =
            style->standardIcon(QStyle::SP_DirClosedIcon, nullptr, list).pixmap(16).toImage();
        QVERIFY(openIcon != closedIcon);
        for (int i = 0; i < list->count(); ++i) {
            const bool inChain = i < chain.size();
            QCOMPARE(list->item(i)->icon().pixmap(16).toImage(), inChain ? openIcon : closedIcon);
        }
    }

    void folderListIndentsByDepth()
    {
        const QString open = m_folder + u"/a"_qs;
        QVERIFY(QDir().mkpath(open + u"/kind"_qs));
        frmSave& dialog = shownAt(open, u"emoticon"_qs);
        Q_UNUSED(dialog);
        DirListBox* list = dirMap();
        list->setCurrentItem(nullptr);
        list->clearSelection();
        list->scrollToTop();
        const QImage picture = list->viewport()->grab().toImage();
        const QRgb base = list->palette().color(QPalette::Base).rgb();

        // Where the first pixel other than the background stands, row by row.
        QList<int> starts;
        for (int i = 0; i < list->count(); ++i) {
            const QRect rect = list->visualItemRect(list->item(i));
            if (!list->viewport()->rect().contains(rect)) {
                break; // the rest is out of view
            }
            const int y = rect.center().y() * picture.height() / list->viewport()->height();
            int x = 0;
            while (x < picture.width() && picture.pixel(x, y) == base) {
                ++x;
            }
            starts << x * list->viewport()->width() / picture.width();
        }
        QVERIFY(starts.size() >= 2);
        for (qsizetype i = 1; i < starts.size(); ++i) {
            QVERIFY2(starts.at(i) > starts.at(i - 1),
                     qPrintable(u"row %1 starts at %2, row %3 at %4"_qs.arg(i - 1)
                                    .arg(starts.at(i - 1))
                                    .arg(i)
                                    .arg(starts.at(i))));
        }
    }

    void foldersOpenByDoubleClickAndEnter()
    {
        const QString open = m_folder + u"/a"_qs;
        QVERIFY(QDir().mkpath(open + u"/kind/kleinkind"_qs));
        shownAt(open, u"emoticon"_qs);
        DirListBox* list = dirMap();

        auto itemNamed = [&](const QString& text) -> QListWidgetItem* {
            const auto found = list->findItems(text, Qt::MatchExactly);
            return found.isEmpty() ? nullptr : found.last();
        };

        // A single click only selects.
        QListWidgetItem* child = itemNamed(u"kind"_qs);
        QVERIFY(child != nullptr);
        list->scrollToItem(child);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(child).center());
        QCOMPARE(list->Path(), native(open));

        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(child).center());
        QCOMPARE(list->Path(), native(open + u"/kind"_qs));

        list->setCurrentItem(itemNamed(u"kleinkind"_qs));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->Path(), native(open + u"/kind/kleinkind"_qs));
        QVERIFY(m_dialog->isVisible()); // Enter went to the list, not to the dialog

        // Up the chain with the keyboard.
        list->setCurrentItem(itemNamed(u"a"_qs));
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(list->Path(), native(open));
        QVERIFY(entries(open) == QStringList{u"kind"_qs});
    }

    void aFolderThatCannotBeOpenedKeepsTheOldOne()
    {
        newDialog();
        DirListBox* list = dirMap();
        QVERIFY(list->setPath(m_folder));
        const int items = list->count();
        QVERIFY(!list->setPath(m_folder + u"/bestaat-niet"_qs));
        QFile file(m_folder + u"/bestand"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!list->setPath(file.fileName()));
        QVERIFY(!list->setPath(QString()));
        QCOMPARE(list->Path(), native(m_folder));
        QCOMPARE(list->count(), items);
#ifdef Q_OS_UNIX
        if (::geteuid() != 0) {
            const QString closed = m_folder + u"/dicht"_qs;
            QVERIFY(QDir().mkdir(closed));
            QVERIFY(QFile::setPermissions(closed, {}));
            QVERIFY(!list->setPath(closed));
            QCOMPARE(list->Path(), native(m_folder));
            QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
#endif
    }
};

int main(int argc, char* argv[])
{
    // The settings of this test live in a folder of its own, set before anything reads them.
    QTemporaryDir settings;
    settingsFolder = &settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(organisation);
    QApplication::setApplicationName(application);
    TestFrmSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmsave.moc"
