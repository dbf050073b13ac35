// The link's way to the browser on Windows: the shell is really asked to "open" the address,
// and the program registered for it receives it; an address no program is registered for is
// reported as not opened.
#include "modVisitWebsite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class tst_shell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void theShellOpensTheAddress();
    void anAddressNothingOpensIsReported();

private:
    QTemporaryDir m_dir;
    QString m_log;
};

void tst_shell::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_log = m_dir.filePath(QStringLiteral("opened.txt"));
    // Wine's drive Z: is the Unix root; the build's paths are Unix paths.
    const QString standIn = QDir::toNativeSeparators(QStringLiteral("Z:") +
                                                     QStringLiteral(SNOETJESMAL_BROWSER_STANDIN));
    QSettings classes(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Classes\\https\\shell\\open"),
                      QSettings::NativeFormat);
    classes.setValue(QStringLiteral("command/Default"),
                     QStringLiteral("\"%1\" \"%2\" \"%3\"")
                         .arg(standIn, QDir::toNativeSeparators(m_log), QStringLiteral("%1")));
    classes.sync();
    QCOMPARE(classes.status(), QSettings::NoError);
}

void tst_shell::theShellOpensTheAddress()
{
    QVERIFY(modVisitWebsite::openWebsite(nullptr, modVisitWebsite::homePage));
    // The shell starts the stand-in and returns; it writes a moment later.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_log).size() > 0, 15000);
    QFile log(m_log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().trimmed(), modVisitWebsite::homePage.toString().toLatin1());
}

void tst_shell::anAddressNothingOpensIsReported()
{
    QVERIFY(!modVisitWebsite::openWebsite(
        nullptr, QUrl(QStringLiteral("snoetjesmal-onbekend://www.quorvelin.nl/"))));
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
