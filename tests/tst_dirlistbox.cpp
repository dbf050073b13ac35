// The folder list of the save dialog: the chain from the root down to the open folder and
// its subfolders, indented by depth, opened by double-click and Enter, and a folder that
// cannot be opened leaves the list as it was.

#include "dirlistbox.h"

#include "folderfiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestDirListBox : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString m_folder;
    std::unique_ptr<DirListBox> m_shown;

    // A list of the dialog's size on screen, open at a folder.
    DirListBox* shownAt(const QString& folder)
    {
        m_shown = std::make_unique<DirListBox>(m_folder);
        m_shown->resize(289, 96);
        m_shown->show();
        [&] {
            QVERIFY(QTest::qWaitForWindowExposed(m_shown.get()));
            QVERIFY(m_shown->setPath(folder));
        }();
        return m_shown.get();
    }

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
    }

    void cleanup() { m_shown.reset(); }

    // It starts at the folder it is given, or at the root where that cannot be opened.
    void startsAtTheStartFolder_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("opens");
        QTest::newRow("a folder") << u"/a"_qs << true;
        QTest::newRow("no folder") << u"/bestaat-niet"_qs << false;
        QTest::newRow("a file") << u"/bestand"_qs << false;
    }
    void startsAtTheStartFolder()
    {
        QFETCH(QString, start);
        QFETCH(bool, opens);
        QVERIFY(QDir().mkpath(m_folder + u"/a"_qs));
        QFile file(m_folder + u"/bestand"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const DirListBox list(m_folder + start);
        QCOMPARE(list.Path(), native(opens ? m_folder + start : QDir::rootPath()));
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

        DirListBox box(m_folder);
        DirListBox* list = &box;
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
        DirListBox* list = shownAt(open);
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
        DirListBox* list = shownAt(open);

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

        // Up the chain with the keyboard.
        list->setCurrentItem(itemNamed(u"a"_qs));
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(list->Path(), native(open));
        QVERIFY(entries(open) == QStringList{u"kind"_qs});
    }

    void aFolderThatCannotBeOpenedKeepsTheOldOne()
    {
        DirListBox box(m_folder);
        DirListBox* list = &box;
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

QTEST_MAIN(TestDirListBox)
#include "tst_dirlistbox.moc"
