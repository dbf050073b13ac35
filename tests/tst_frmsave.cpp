// The save dialog: its captions, the remembered name, that its "Opslaan" saves where its lists
// point (what a save asks and reports is tst_saveflow's), and how it is hidden, shown again
// and discarded. The dialog is given a preview of the test's own and its message boxes are
// written down instead of shown. Files are written into temporary folders only, and
// the settings go to a temporary folder set up before the application starts:
// the user's own files are never touched. On Windows the settings are the registry's; the
// test runs there only where the registry is the test's own (SNOETJESMAL_PRIVATE_REGISTRY=1,
// a Wine prefix made for the run) and reads it by the key's full name.

#include "dialogfont.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "facecanvas.h"
#include "frmMain.h"
#include "frmSave.h"
#include "programinfo.h"

#include "folderfiles.h"
#include "othervolume.h"
#include "recordedboxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

const QString& organisation = ProgramInfo::settingsOrganisation;
const QString& application = ProgramInfo::settingsApplication;
const QString& key = ProgramInfo::settingsKey;

// Where the settings of this test go; made before the application starts.
QTemporaryDir* settingsFolder = nullptr;

void useSettingsIn(const QString& folder)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

#ifdef Q_OS_WIN
// The key by its full name, not by the organisation and application the program gives.
const QString registryKey =
    u"HKEY_CURRENT_USER\\Software\\"_qs + organisation + u'\\' + application;

std::unique_ptr<QSettings> settingsStore()
{
    return std::make_unique<QSettings>(registryKey, QSettings::NativeFormat);
}

// The value as every other reader of the registry sees it: a REG_SZ, read without Qt.
QVariant storedName()
{
    const std::wstring path =
        (u"Software\\"_qs + organisation + u'\\' + application).toStdWString();
    const std::wstring name = key.toStdWString();
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                       nullptr, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                       text.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return QString::fromStdWString(text.substr(0, text.find(L'\0')));
}
#else
std::unique_ptr<QSettings> settingsStore()
{
    return std::make_unique<QSettings>(organisation, application);
}

QVariant storedName()
{
    return settingsStore()->value(key);
}
#endif

void storeName(const QString& name)
{
    settingsStore()->setValue(key, name);
}

void forgetName()
{
    settingsStore()->remove(key);
}

template <typename T = QWidget> T* control(const QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A face other than the blank one, so that a file of the blank face proves nothing.
QImage testFace(int eyes, int mouth)
{
    FaceCanvas canvas;
    canvas.recomposeEyes(eyes);
    canvas.recomposeMouth(mouth);
    return canvas.image();
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

    RecordedBoxes m_boxes;
    std::optional<QTemporaryDir> m_dir;
    QString m_folder;
    QImage m_image;   // what the preview shows
    QImage m_picture; // what the dialog made the preview's picture
    QWidget m_mainWindow;
    std::unique_ptr<frmSave> m_dialog;

    frmSave& newDialog(const QString& startFolder = {})
    {
        const frmSave::Preview preview{[this] { return m_image; },
                                       [this](const QImage& picture) {
                                           m_picture = picture;
                                       }};
        m_dialog =
            std::make_unique<frmSave>(&m_mainWindow, m_mainWindow.windowIcon(), preview, m_boxes,
                                      startFolder.isNull() ? m_folder : startFolder);
        return *m_dialog;
    }

    QLineEdit* name() const { return control<QLineEdit>(*m_dialog, "txtFilename"); }
    DirListBox* dirMap() const { return control<DirListBox>(*m_dialog, "dirMap"); }
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

    void verifySaved(const QString& path)
    {
        QCOMPARE(m_boxes.boxes.size(), 1);
        const RecordedBoxes::Box& box = m_boxes.boxes.at(0);
        QCOMPARE(box.request.text, u"Succesvol opgeslagen!"_qs);
        QCOMPARE(box.request.style, MsgBoxStyles(MsgBoxStyle::Information));
        QCOMPARE(box.request.title, u"Snoetjesmal"_qs);
        QCOMPARE(box.parent, &m_mainWindow);
        // The dialog is put away before the box shows.
        QVERIFY(!box.flag);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_dialog->wasClosed());
        QVERIFY2(isBmpOf(contents(path), m_image), qPrintable(path));
        // The preview's picture is now what it showed.
        QCOMPARE(m_picture, m_image);
    }

    // A "Fout" box with this reason, and the dialog still open as it was.
    void verifyRefused(const QString& reason)
    {
        QCOMPARE(m_boxes.boxes.size(), 1);
        const MsgBoxRequest& box = m_boxes.boxes.at(0).request;
        QCOMPARE(box.title, u"Fout"_qs);
        QCOMPARE(box.style, errorBox);
        QVERIFY2(box.text.startsWith(u"Fout opgetreden:\r\n"_qs), qPrintable(box.text));
        if (!reason.isEmpty()) {
            QCOMPARE(box.text, u"Fout opgetreden:\r\n"_qs + reason);
        }
        QVERIFY(m_boxes.boxes.at(0).flag);
        QVERIFY(m_dialog->isVisible());
    }

private Q_SLOTS:
    void initTestCase()
    {
#if defined(Q_OS_WIN)
        if (qEnvironmentVariable("SNOETJESMAL_PRIVATE_REGISTRY") != u"1"_qs) {
            QSKIP("the user's own registry cannot be kept apart from the test's: runs only "
                  "with SNOETJESMAL_PRIVATE_REGISTRY=1");
        }
        settingsStore()->clear();
        QVERIFY(settingsStore()->allKeys().isEmpty());
#elif !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
        QSKIP("the user's own settings cannot be kept apart from the test's on this system");
#endif
        QVERIFY(settingsFolder != nullptr && settingsFolder->isValid());
        useSettingsIn(settingsFolder->path());
        m_boxes.noticeAtShow = [this] {
            return m_dialog && m_dialog->isVisible();
        };
    }

    void init()
    {
        useSettingsIn(settingsFolder->path());
        forgetName();
        m_boxes.clear();
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        m_image = testFace(3, 4);
        m_picture = QImage();
    }

    void cleanup()
    {
        m_dialog.reset();
    }

    // A caption is read whole: where the font is wider than the classic one, a label's text
    // is set smaller, and only then.
    void labelsFit()
    {
        const frmSave& dialog = newDialog();
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QVERIFY(labels.size() >= 3);
        for (const QLabel* label : labels) {
            const QFont font = label->font();
            const QFont classic = dialogFont(font.bold());
            QCOMPARE(font.family(), classic.family());
            const int room = label->contentsRect().width() - std::max(0, label->indent());
            const auto advance = [&](const QFont& f) {
                return QFontMetricsF(f).horizontalAdvance(label->text());
            };
            QVERIFY2(advance(font) <= room,
                     qPrintable(u"%1: %2 px wide in %3 px"_qs.arg(label->objectName())
                                    .arg(advance(font))
                                    .arg(room)));
            if (advance(classic) <= room) {
                QCOMPARE(font, classic);
            } else {
                QVERIFY(font.pointSizeF() < classic.pointSizeF());
                QVERIFY(font.pointSizeF() >= 6.0);
            }
        }
    }

    void noDefaultOrCancelButton()
    {
        shownAt(m_folder, u"emoticon"_qs);
        // Enter in the name box saves nothing; Escape anywhere keeps the dialog open.
        QTest::keyClick(name(), Qt::Key_Return);
        QTest::keyClick(name(), Qt::Key_Escape);
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QTest::keyClick(m_dialog.get(), Qt::Key_Enter);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(!m_dialog->wasClosed());
        QVERIFY(entries(m_folder).isEmpty());
        QVERIFY(m_boxes.boxes.isEmpty());
    }

    // A button with the focus answers Enter: "Opslaan", which has the focus when the dialog
    // opens, saves; "Annuleer" puts the dialog away.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button"); // empty: the one with the focus as it opens
        QTest::addColumn<bool>("saves");
        QTest::newRow("as the dialog opens") << QString() << true;
        QTest::newRow("Opslaan") << u"cmdSave"_qs << true;
        QTest::newRow("Annuleer") << u"cmdCancel"_qs << false;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(bool, saves);
        const frmSave& dialog = shownAt(m_folder, u"enter"_qs);
        QWidget* focused = dialog.focusWidget();
        if (!button.isEmpty()) {
            focused = dialog.findChild<QPushButton*>(button);
            focused->setFocus();
        }
        QTest::keyClick(focused, Qt::Key_Return);
        if (saves) {
            verifySaved(m_folder + u"/enter.bmp"_qs);
        } else {
            QVERIFY(!m_dialog->isVisible());
            QVERIFY(!m_dialog->wasClosed());
            QVERIFY(entries(m_folder).isEmpty());
            QVERIFY(m_boxes.boxes.isEmpty());
        }
    }

    // The drive list shows the volume of the folder the folder list opened, also where that
    // is not the folder the dialog was to start at. A volume other than the root's is needed
    // to tell them apart.
    void theListsAgree_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("a folder on another volume") << true;
        QTest::newRow("a start that cannot be opened") << false;
    }
    void theListsAgree()
    {
        QFETCH(bool, opens);
        const QString other = otherVolumeRoot();
        // A file there: a place on that volume that no folder list opens.
        const QString file = other.isEmpty() ? QString() : fileOnVolumeOf(other);
        if (file.isEmpty()) {
            QSKIP("no other volume with a file is mounted here");
        }
        const QString root = QDir::rootPath();
        const frmSave& dialog = newDialog(opens ? other : file);
        const QString drive = control<DriveListBox>(dialog, "drvStation")->Drive();
        QCOMPARE(dirMap()->Path(), native(opens ? other : root));
        QCOMPARE(drive, native(opens ? other : root));
    }

    // A save through the dialog: the file goes where the folder list is, under the typed name.
    void saves()
    {
        const QString folder = m_folder + u"/sub"_qs;
        QVERIFY(QDir().mkpath(folder));
        shownAt(folder, u"blij"_qs);
        QCOMPARE(dirMap()->Path(), native(folder));
        QTest::mouseClick(cmdSave(), Qt::LeftButton);
        verifySaved(folder + u"/blij.bmp"_qs);
        QCOMPARE(entries(folder), QStringList{u"blij.bmp"_qs});
    }

    // In a browser the dialog has only the name: "Opslaan" hands the face over as a download
    // under the typed name, or refuses a name that Windows could not keep.
    void downloads_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty: downloaded as typed + ".bmp"
        QTest::newRow("plain") << u"blij"_qs << QString();
        QTest::newRow("Posix would take it") << u"a:b"_qs << u"De bestandsnaam mag geen"_qs;
        QTest::newRow("device") << u"con"_qs << u"apparaat"_qs;
        QTest::newRow("tab") << u"a\tb"_qs << u"stuurteken"_qs;
    }

    void downloads()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QStringList names;
        QList<QByteArray> files;
        const frmSave::Preview preview{[this] { return m_image; },
                                       [this](const QImage& picture) {
                                           m_picture = picture;
                                       }};
        m_dialog = std::make_unique<frmSave>(&m_mainWindow, QIcon(), preview, m_boxes,
                                             [&](const QString& fileName, const QByteArray& bytes) {
                                                 names << fileName;
                                                 files << bytes;
                                             });
        QVERIFY(m_dialog->findChild<DirListBox*>() == nullptr);
        QVERIFY(m_dialog->findChild<DriveListBox*>() == nullptr);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        name()->setText(typed);
        QTest::keyClick(cmdSave(), Qt::Key_Space);

        if (refusal.isEmpty()) {
            QCOMPARE(names, QStringList{typed + u".bmp"_qs});
            QVERIFY(isBmpOf(files.at(0), m_image));
            QCOMPARE(m_picture, m_image);
            QVERIFY(m_boxes.boxes.isEmpty());
            QVERIFY(!m_dialog->isVisible());
        } else {
            QVERIFY(names.isEmpty());
            verifyRefused({});
            QVERIFY2(m_boxes.boxes.at(0).request.text.contains(refusal),
                     qPrintable(m_boxes.boxes.at(0).request.text));
        }
    }

    // A refused save leaves the dialog open as it was.
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

    void firstRunShowsTheDefaultAndStoresNothing()
    {
        newDialog();
        QCOMPARE(name()->text(), u"emoticon"_qs);
        QVERIFY(!storedName().isValid());
        storeName(u"knipoog"_qs);
        newDialog();
        QCOMPARE(name()->text(), u"knipoog"_qs);
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
        // Stored as typed, for every other reader of the store as well.
        QTest::newRow("beginning with @") << u"@vrolijk"_qs;
    }

    // Abandoned with "Annuleer", then the program ends: the next run shows the name.
    void theNameComesBack()
    {
        QFETCH(QString, typed);
        shownAt(m_folder, typed);
        cmdCancel()->click();
        QVERIFY(!m_dialog->isVisible());
        m_dialog.reset();
        QCOMPARE(storedName().toString(), typed);

        newDialog();
        QCOMPARE(name()->text(), typed);
        QVERIFY(entries(m_folder).isEmpty());
    }

    void brokenSettingsDoNotStopTheDialog_data()
    {
        QTest::addColumn<QString>("kind");
#ifdef Q_OS_WIN
        // What else the registry may hold under the name.
        QTest::newRow("a number") << u"number"_qs;
        QTest::newRow("a key") << u"key"_qs;
#else
        QTest::newRow("unreadable") << u"folder"_qs;
        QTest::newRow("corrupt") << u"garbage"_qs;
#endif
    }

    void brokenSettingsDoNotStopTheDialog()
    {
        QFETCH(QString, kind);
#ifdef Q_OS_WIN
        if (kind == u"number"_qs) {
            settingsStore()->setValue(key, 42);
        } else {
            settingsStore()->setValue(key + u"/binnen"_qs, u"x"_qs);
        }
        newDialog();
        QVERIFY(!name()->text().isNull());
#else
        const QTemporaryDir broken;
        QVERIFY(broken.isValid());
        const QString file = broken.path() + u'/' + organisation + u'/' + application + u".conf"_qs;
        if (kind == u"folder"_qs) {
            QVERIFY(QDir().mkpath(file)); // a folder where the file should be
        } else {
            QVERIFY(QDir().mkpath(broken.path() + u'/' + organisation));
            QFile garbage(file);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            QByteArray bytes("\xff[[[=\n");
            bytes.append('\0').append('\x01').append("Filename\n");
            garbage.write(bytes);
        }
        useSettingsIn(broken.path());
#endif

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
        QVERIFY(m_boxes.boxes.isEmpty());
        // Nothing is stored on the way out.
        QCOMPARE(storedName().toString(), u"anders"_qs);
    }

    // "Annuleer" and a save hide the dialog; the next showing is the same dialog as it was
    // left, not loaded again. The close box discards it and the next showing loads afresh.
    void hiddenVersusClosed()
    {
        // Started from a folder that is not the program's own, a fresh dialog opens there.
        const QString before = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
        QVERIFY(QDir::setCurrent(m_folder));
        frmMain main(m_boxes);
        QPixmap red(16, 16);
        red.fill(Qt::red);
        main.setWindowIcon(QIcon(red));
        const QString sub = m_folder + u"/sub"_qs;
        QVERIFY(QDir().mkdir(sub));

        QPointer<frmSave> first;
        whileShown(main, [&](frmSave& dialog) {
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
        main.setWindowIcon(QIcon(blue));
        whileShown(main, [&](frmSave& dialog) {
            QCOMPARE(&dialog, first.data());
            QCOMPARE(control<QLineEdit>(dialog, "txtFilename")->text(), u"eerste"_qs);
            QCOMPARE(control<DirListBox>(dialog, "dirMap")->Path(), native(sub));
            QCOMPARE(dialog.windowIcon().pixmap(16).toImage(), red.toImage());
            control<QPushButton>(dialog, "cmdSave")->click();
        });
        QVERIFY(first);
        QCOMPARE(entries(sub), QStringList{u"eerste.bmp"_qs});
        QCOMPARE(m_boxes.boxes.size(), 1);

        // Shown once more after the save, still as it was; then the close box.
        whileShown(main, [&](frmSave& dialog) {
            QCOMPARE(&dialog, first.data());
            QCOMPARE(control<QLineEdit>(dialog, "txtFilename")->text(), u"eerste"_qs);
            QCOMPARE(control<DirListBox>(dialog, "dirMap")->Path(), native(sub));
            storeName(u"van buiten"_qs);
            dialog.close();
        });
        QVERIFY(!first); // discarded

        whileShown(main, [&](frmSave& dialog) {
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
        QVERIFY(m_boxes.boxes.isEmpty());
    }

    // A drive that can be read opens at its root; one that cannot shows nothing.
    void choosingADriveOpensItsRoot()
    {
        shownAt(m_folder, u"emoticon"_qs);
        m_dialog->drvStation_Change();
        QCOMPARE(dirMap()->Path(), control<DriveListBox>(*m_dialog, "drvStation")->Drive());
        QVERIFY(QDir(dirMap()->Path()).isRoot());
        QVERIFY(m_boxes.boxes.isEmpty());
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
