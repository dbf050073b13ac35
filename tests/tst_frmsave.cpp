// The save dialog: its captions, the remembered name, what a save writes and asks, the faults
// it reports, and how it is hidden, shown again and discarded. The dialog is given a preview
// of the test's own, its message boxes are written down instead of shown, and where a test
// is about the dialog rather than the disk it is given a writer of the test's own. Files are
// written into temporary folders only (on Windows also into C:\ of the test's own Wine
// prefix), and the settings go to a temporary folder set up before the application starts:
// the user's own files are never touched. On Windows the settings are the registry's; the
// test runs there only where the registry is the test's own (SNOETJESMAL_PRIVATE_REGISTRY=1,
// a Wine prefix made for the run) and reads it by the key's full name.

#include "atomicfile.h"
#include "dialogfont.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "facecanvas.h"
#include "frmMain.h"
#include "frmSave.h"

#include "folderfiles.h"
#include "recordedboxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

const QString organisation = QStringLiteral("QuorvelinSoftware");
const QString application = QStringLiteral("Snoetjesmal");
const QString key = QStringLiteral("Filename");

const QString replaceText = QStringLiteral(
    "Het bestand op de aangegeven locatie bestaat al, wil je het bestand vervangen?");

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
    QStringLiteral("HKEY_CURRENT_USER\\Software\\QuorvelinSoftware\\Snoetjesmal");

std::unique_ptr<QSettings> settingsStore()
{
    return std::make_unique<QSettings>(registryKey, QSettings::NativeFormat);
}
#else
std::unique_ptr<QSettings> settingsStore()
{
    return std::make_unique<QSettings>(organisation, application);
}
#endif

QVariant storedName()
{
    return settingsStore()->value(key);
}

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

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
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

    frmSave& newDialog(ImageFileWriter writer = writeBmpFile)
    {
        const frmSave::Preview preview{[this] { return m_image; },
                                       [this](const QImage& picture) {
                                           m_picture = picture;
                                       }};
        m_dialog = std::make_unique<frmSave>(&m_mainWindow, m_mainWindow.windowIcon(), preview,
                                             m_boxes, std::move(writer));
        return *m_dialog;
    }

    QLineEdit* name() const { return control<QLineEdit>(*m_dialog, "txtFilename"); }
    DirListBox* dirMap() const { return control<DirListBox>(*m_dialog, "dirMap"); }
    QPushButton* cmdSave() const { return control<QPushButton>(*m_dialog, "cmdSave"); }
    QPushButton* cmdCancel() const { return control<QPushButton>(*m_dialog, "cmdCancel"); }

    // Shows a new dialog (not modally) at a folder with a name, ready to save.
    frmSave& shownAt(const QString& folder, const QString& typed,
                     ImageFileWriter writer = writeBmpFile)
    {
        frmSave& dialog = newDialog(std::move(writer));
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

    void saves_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("folder") << QString() << u"emoticon"_qs << u"emoticon.bmp"_qs;
        QTest::newRow("folder named like a file") << u"x.bmp"_qs << u"blij"_qs << u"blij.bmp"_qs;
        // The typed name is used unchanged.
        QTest::newRow("own extension") << QString() << u"foto.bmp"_qs << u"foto.bmp.bmp"_qs;
        QTest::newRow("empty") << QString() << QString() << u".bmp"_qs;
        // As long as the file system allows: 251 bytes (UTF-16 units on Windows) and ".bmp"
        // make 255.
        QTest::newRow("longest name")
            << QString() << QString(251, u'a') << QString(251, u'a') + u".bmp"_qs;
    }

    void saves()
    {
        QFETCH(QString, sub);
        QFETCH(QString, typed);
        QFETCH(QString, fileName);
        const QString folder = sub.isEmpty() ? m_folder : m_folder + QLatin1Char('/') + sub;
        QVERIFY(QDir().mkpath(folder));
        shownAt(folder, typed);
        QCOMPARE(dirMap()->Path(), native(folder));

        QTest::mouseClick(cmdSave(), Qt::LeftButton);

        verifySaved(folder + QLatin1Char('/') + fileName);
        QCOMPARE(entries(folder), QStringList{fileName});
    }

    void replaceQuestion_data()
    {
        QTest::addColumn<MsgBoxAnswer>("answer");
        QTest::newRow("yes") << MsgBoxAnswer::Yes;
        QTest::newRow("no") << MsgBoxAnswer::No;
    }

    void replaceQuestion()
    {
        const QString typed = u"emoticon"_qs;
        QFETCH(MsgBoxAnswer, answer);
        const QString path = m_folder + QLatin1Char('/') + typed + u".bmp"_qs;
        shownAt(m_folder, typed);
        cmdSave()->click();
        QVERIFY(isBmpOf(contents(path), m_image));
        const QByteArray first = contents(path);

        // Another face, saved under the same name.
        m_image = testFace(3, 9);
        m_dialog->show();
        m_boxes.clear();
        m_boxes.answers = {answer};
        cmdSave()->click();

        QVERIFY(!m_boxes.boxes.isEmpty());
        const MsgBoxRequest& question = m_boxes.boxes.at(0).request;
        QCOMPARE(question.text, replaceText);
        QCOMPARE(question.title, u"Bestand vervangen"_qs);
        QCOMPARE(question.style, replaceStyle);
        QVERIFY(m_boxes.boxes.at(0).flag);
        if (answer == MsgBoxAnswer::No) {
            QCOMPARE(m_boxes.boxes.size(), 1);
            QCOMPARE(contents(path), first);
            QVERIFY(m_dialog->isVisible());
            QCOMPARE(name()->text(), typed);
            QCOMPARE(dirMap()->Path(), native(m_folder));
        } else {
            QCOMPARE(m_boxes.boxes.size(), 2);
            QCOMPARE(m_boxes.boxes.at(1).request.text, u"Succesvol opgeslagen!"_qs);
            QVERIFY(isBmpOf(contents(path), m_image));
            QVERIFY(!m_dialog->isVisible());
        }
        QCOMPARE(entries(m_folder), QStringList{QFileInfo(path).fileName()});
    }

    void aFileThatAppearsMeanwhileBringsTheQuestion_data()
    {
        QTest::addColumn<MsgBoxAnswer>("answer");
        QTest::newRow("yes") << MsgBoxAnswer::Yes;
        QTest::newRow("no") << MsgBoxAnswer::No;
    }

    // Nothing was there when the dialog looked, but a file of that name is there by the time
    // it writes: that file is not replaced unasked.
    void aFileThatAppearsMeanwhileBringsTheQuestion()
    {
        QFETCH(MsgBoxAnswer, answer);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        QList<WriteMode> modes;
        shownAt(m_folder, u"emoticon"_qs,
                [&](const QString& target, const QImage& image, WriteMode mode) {
                    if (modes.isEmpty()) {
                        writeFile(target, "van een ander");
                    }
                    modes << mode;
                    return writeBmpFile(target, image, mode);
                });
        m_boxes.answers = {answer};
        cmdSave()->click();

        QVERIFY(!m_boxes.boxes.isEmpty());
        QCOMPARE(m_boxes.boxes.at(0).request.text, replaceText);
        if (answer == MsgBoxAnswer::No) {
            QCOMPARE(modes, QList<WriteMode>{WriteMode::CreateNew});
            QCOMPARE(m_boxes.boxes.size(), 1);
            QCOMPARE(contents(path), QByteArray("van een ander"));
            QVERIFY(m_dialog->isVisible());
        } else {
            QCOMPARE(modes, (QList<WriteMode>{WriteMode::CreateNew, WriteMode::Replace}));
            QCOMPARE(m_boxes.boxes.size(), 2);
            QVERIFY(isBmpOf(contents(path), m_image));
            QVERIFY(!m_dialog->isVisible());
        }
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
    }

    void aFolderOfThatNameErrorsAndStays()
    {
        QVERIFY(QDir(m_folder).mkpath(u"emoticon.bmp/binnen"_qs));
        shownAt(m_folder, u"emoticon"_qs);
        cmdSave()->click();
        verifyRefused({});
        QVERIFY(m_boxes.boxes.at(0).request.text.contains(u"map"_qs));
        QCOMPARE(entries(m_folder + u"/emoticon.bmp"_qs), QStringList{u"binnen"_qs});
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
        // The preview's picture is only taken on the way to writing.
        QVERIFY(m_picture.isNull());
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
        QTest::newRow("nul") << (u"emo"_qs + QChar(0) + u"ticon"_qs) << u"nulteken"_qs;
#ifdef Q_OS_WIN
        // 252 units and ".bmp" are one more than the file system takes.
        QTest::newRow("too long") << QString(252, u'a') << u"256 tekens"_qs;
        QTest::newRow("reserved") << u"a?b"_qs << u"< > : \" / \\ | ? *"_qs;
        QTest::newRow("device") << u"Com1.emoticon"_qs << u"apparaat"_qs;
#else
        // 252 bytes and ".bmp" are one byte more than the file system takes.
        QTest::newRow("too long") << QString(252, u'a') << u"256 bytes"_qs;
        QTest::newRow("too long in bytes") << QString(126, QChar(0x00e9)) << u"te lang"_qs;
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
        QVERIFY2(m_boxes.boxes.at(0).request.text.contains(says),
                 qPrintable(m_boxes.boxes.at(0).request.text));
        QVERIFY(entries(folder).isEmpty());
        QCOMPARE(entries(m_folder), QStringList{u"sub"_qs});
    }

    void aFailedWriteIsReported()
    {
        shownAt(m_folder, u"emoticon"_qs, [](const QString&, const QImage&, WriteMode) {
            return WriteResult{WriteProblem::DiskFull, {}};
        });
        cmdSave()->click();
        verifyRefused(u"De schijf is vol."_qs);
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
    }

    // Abandoned with "Annuleer", then the program ends: the next run shows the name.
    void theNameComesBack()
    {
        QFETCH(QString, typed);
        shownAt(m_folder, typed);
        cmdCancel()->click();
        QVERIFY(!m_dialog->isVisible());
        m_dialog.reset();

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

#ifdef Q_OS_WIN
    void writesWhereTheFolderListIs_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("written");
        QTest::newRow("root of C") << u"C:\\"_qs << u"C:\\emoticon.bmp"_qs;
        QTest::newRow("C:\\Temp") << u"C:\\Temp"_qs << u"C:\\Temp\\emoticon.bmp"_qs;
    }

    // The real dialog and the real writer, on drive C of the test's own Wine prefix: a
    // separator is added only where the folder does not end in one.
    void writesWhereTheFolderListIs()
    {
        QFETCH(QString, folder);
        QFETCH(QString, written);
        const QString typed = u"emoticon"_qs;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!QFileInfo::exists(written));
        const auto remove = qScopeGuard([&] { QFile::remove(written); });
        const QStringList before = entries(folder);
        shownAt(folder, typed);
        QCOMPARE(dirMap()->Path(), folder);
        cmdSave()->click();
        verifySaved(written);
        QStringList after = before;
        after.append(QFileInfo(written).fileName());
        after.sort();
        QStringList now = entries(folder);
        now.sort();
        QCOMPARE(now, after);
    }

    void fileAttributes_data()
    {
        QTest::addColumn<uint>("attributes");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("hidden") << uint{FILE_ATTRIBUTE_HIDDEN} << true;
        QTest::newRow("system") << uint{FILE_ATTRIBUTE_SYSTEM} << true;
        QTest::newRow("read-only") << uint{FILE_ATTRIBUTE_READONLY} << false;
    }

    // A file with attributes of its own is asked about like any other. After a yes it is
    // replaced and keeps them, or (read-only) it stays as it was and the box says why.
    void fileAttributes()
    {
        QFETCH(uint, attributes);
        QFETCH(bool, replaced);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
        writeFile(path, "van de gebruiker");
        QVERIFY(::SetFileAttributesW(native.c_str(), attributes));
        const auto writable =
            qScopeGuard([&] { ::SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_NORMAL); });
        shownAt(m_folder, u"emoticon"_qs);
        m_boxes.answers = {MsgBoxAnswer::Yes};
        cmdSave()->click();

        QVERIFY(!m_boxes.boxes.isEmpty());
        QCOMPARE(m_boxes.boxes.at(0).request.text, replaceText);
        QCOMPARE(m_boxes.boxes.size(), 2);
        const MsgBoxRequest& outcome = m_boxes.boxes.at(1).request;
        if (replaced) {
            QCOMPARE(outcome.text, u"Succesvol opgeslagen!"_qs);
            QVERIFY(isBmpOf(contents(path), m_image));
        } else {
            QCOMPARE(outcome.title, u"Fout"_qs);
            QCOMPARE(outcome.text,
                     u"Fout opgetreden:\r\nHet bestaande bestand is alleen-lezen en kan daarom "
                     "niet worden vervangen."_qs);
            QCOMPARE(contents(path), QByteArray("van de gebruiker"));
            QVERIFY(m_dialog->isVisible());
        }
        const DWORD now = ::GetFileAttributesW(native.c_str());
        QVERIFY(now != INVALID_FILE_ATTRIBUTES);
        QCOMPARE(now & attributes, DWORD{attributes});
        // No temporary file is left, hidden or not.
        QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot),
                 QStringList{u"emoticon.bmp"_qs});
    }

    // Deeper than MAX_PATH: the folder list opens such a folder, and the dialog writes there.
    void aFolderDeeperThanMaxPath()
    {
        QString folder = m_folder;
        while (folder.size() < 300) {
            folder += u"/"_qs + QString(40, u'm');
        }
        QVERIFY(QDir().mkpath(folder));
        shownAt(folder, u"emoticon"_qs);
        cmdSave()->click();
        verifySaved(folder + u"/emoticon.bmp"_qs);
        QCOMPARE(entries(folder), QStringList{u"emoticon.bmp"_qs});
    }
#endif
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
