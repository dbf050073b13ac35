// Taking the face out of the main window: Ctrl+C, the preview's context menu and dragging,
// each with the face on a transparent background.

#include "facecopy.h"
#include "faceexport.h"
#include "facepreview.h"
#include "frmMain.h"
#include "imageencoding.h"

#include "folderfiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

namespace {

// A context menu event at a point of a widget, as the window system sends one.
void sendContextMenu(QWidget* widget, QContextMenuEvent::Reason reason, QPoint pos = {5, 5})
{
    QContextMenuEvent event(reason, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
}

template <typename T = QWidget> T* control(const frmMain& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

// What a drag or the clipboard carried, kept after the mime data itself is gone.
struct Carried
{
    QStringList formats;
    QImage image;
    QByteArray png;
    QList<QUrl> urls;
};

Carried keep(const QMimeData* data)
{
    return {data->formats(), data->imageData().value<QImage>(),
            data->data(QStringLiteral("image/png")), data->urls()};
}

// A pixel of a transparent image as it shows over white, rounded as an 8-bit display does.
QRgb overWhite(QRgb pixel)
{
    const int a = qAlpha(pixel);
    const auto mix = [a](int top) {
        return (top * a + 255 * (255 - a) + 127) / 255;
    };
    return qRgb(mix(qRed(pixel)), mix(qGreen(pixel)), mix(qBlue(pixel)));
}

// Every copy carries the face shown, transparent around the disc: clear in the corners,
// opaque in the middle, and over white as the preview shows it. Copied at a larger size,
// each face pixel is a block of factor x factor, centred in the square.
void checkFace(const QImage& image, const QImage& shown, int side = 19)
{
    QCOMPARE(image.size(), QSize(side, side));
    QVERIFY(image.hasAlphaChannel());
    const int factor = side / 19;
    const int margin = (side - 19 * factor) / 2;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(argb.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(argb.pixel(side / 2, side / 2)), 255);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QRect face(margin, margin, 19 * factor, 19 * factor);
            const QRgb pixel = argb.pixel(x, y);
            bool ok = qAlpha(pixel) == 0;
            if (face.contains(x, y)) {
                const QPoint source((x - margin) / factor, (y - margin) / factor);
                const QRgb seen = overWhite(pixel);
                const QRgb expected = shown.pixel(source);
                ok = pixel ==
                         argb.pixel(margin + source.x() * factor, margin + source.y() * factor) &&
                     std::abs(qRed(seen) - qRed(expected)) <= 1 &&
                     std::abs(qGreen(seen) - qGreen(expected)) <= 1 &&
                     std::abs(qBlue(seen) - qBlue(expected)) <= 1;
            }
            if (!ok) {
                QFAIL(qPrintable(u"(%1,%2)"_qs.arg(x).arg(y)));
            }
        }
    }
}

void mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestFaceCopy : public QObject
{
    Q_OBJECT

    ScreenMessageBoxes m_boxes;
    std::unique_ptr<frmMain> m_window;

    // A window showing a face with both eyes and mouth, active so its shortcuts work.
    void openWindow()
    {
        m_window = std::make_unique<frmMain>(m_boxes);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        control<QScrollBar>(*m_window, "scrOgen")->setValue(3);
        control<QScrollBar>(*m_window, "scrMond")->setValue(4);
    }

    QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

private Q_SLOTS:
    void init()
    {
        QGuiApplication::clipboard()->clear();
        openWindow();
    }

    void cleanup()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        m_window.reset();
    }

    void copyShortcut_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("preview") << u"picBorder"_qs;
        QTest::newRow("eyes bar") << u"scrOgen"_qs;
    }
    void copyShortcut()
    {
        QFETCH(QString, focus);
        QWidget* target = m_window->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);

        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasImage());
        QVERIFY(data->hasFormat(u"image/png"_qs));
        const QImage shown = control<FacePreview>(*m_window, "picSmiley")->Image();
        checkFace(data->imageData().value<QImage>(), shown);
        checkFace(QImage::fromData(data->data(u"image/png"_qs), "PNG"), shown);
    }

    // The copy follows the face shown, not the face at start.
    void copyFollowsTheFace()
    {
        control<QScrollBar>(*m_window, "scrOgen")->setValue(16);
        control<QScrollBar>(*m_window, "scrMond")->setValue(15);
        QTest::keyClick(control(*m_window, "picBorder"), Qt::Key_C, Qt::ControlModifier);
        const QImage copied = QGuiApplication::clipboard()->mimeData()->imageData().value<QImage>();
        const QImage shown = control<FacePreview>(*m_window, "picSmiley")->Image();
        QVERIFY(shown != FaceExport::composeFace(3, 4));
        checkFace(copied, shown);
    }

    // The menu opens on the border and on the face; its second entry copies at 128 x 128:
    // 19 x 6 = 114 pixels, 7 of transparent margin on every side.
    void copyFromMenu_data()
    {
        QTest::addColumn<QString>("on");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("side");
        QTest::newRow("border, as shown") << u"picBorder"_qs << 0 << 19;
        QTest::newRow("face, 128 x 128") << u"picSmiley"_qs << 1 << 128;
        QTest::newRow("face, SVG") << u"picSmiley"_qs << 2 << 0;
    }
    void copyFromMenu()
    {
        QFETCH(QString, on);
        QFETCH(int, entry);
        QFETCH(int, side);
        sendContextMenu(m_window->findChild<QWidget*>(on), QContextMenuEvent::Mouse);
        QMenu* menu = openMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 3);
        menu->actions().at(entry)->trigger();

        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        const QImage shown = control<FacePreview>(*m_window, "picSmiley")->Image();
        if (side == 0) {
            // The drawing of the transparent face (tst_svgencoding reads such drawings back),
            // and the same markup as text.
            const QByteArray svg = data->data(u"image/svg+xml"_qs);
            QCOMPARE(svg, encodeImage(FaceExport::withTransparency(shown), ImageFormat::Svg));
            QCOMPARE(data->text(), QString::fromUtf8(svg));
            return;
        }
        checkFace(data->imageData().value<QImage>(), shown, side);
        checkFace(QImage::fromData(data->data(u"image/png"_qs), "PNG"), shown, side);
    }

    // From the keyboard: the menu key and Shift+F10 open the menu while the preview has
    // the focus.
    void menuFromKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("menu key") << static_cast<int>(Qt::Key_Menu)
                                  << static_cast<int>(Qt::NoModifier);
        QTest::newRow("shift+F10")
            << static_cast<int>(Qt::Key_F10) << static_cast<int>(Qt::ShiftModifier);
    }
    void menuFromKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QWidget* border = control(*m_window, "picBorder");
        border->setFocus();
        QVERIFY(border->hasFocus());
        QTest::keyClick(border, static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QMenu* menu = openMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 3);
        // It opens by the face, where the focus is.
        const QRect face(control(*m_window, "picSmiley")->mapToGlobal(QPoint(0, 0)), QSize(19, 19));
        QVERIFY(face.contains(menu->pos()));
    }

    // A keyboard context menu event, as the window system sends for the menu key.
    void keyboardContextMenuEvent()
    {
        QWidget* border = control(*m_window, "picBorder");
        border->setFocus();
        sendContextMenu(border, QContextMenuEvent::Keyboard, {0, 0});
        QVERIFY(openMenu());
    }

    void menuKeyElsewhereDoesNothing()
    {
        QWidget* bar = control(*m_window, "scrMond");
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(!openMenu());
    }

    void drag_data()
    {
        QTest::addColumn<QString>("from");
        QTest::newRow("face") << u"picSmiley"_qs;
        QTest::newRow("border") << u"picBorder"_qs;
    }
    void drag()
    {
        QFETCH(QString, from);
        auto* controller = m_window->findChild<FaceCopyController*>();
        QVERIFY(controller);
        QList<Carried> carried;
        connect(controller, &FaceCopyController::dragStarted, this,
                [&carried](const QMimeData* data) { carried.append(keep(data)); });

        QWidget* widget = m_window->findChild<QWidget*>(from);
        const QPoint start(4, 4);
        mouse(widget, QEvent::MouseButtonPress, start, Qt::LeftButton);
        // A small move is not a drag yet.
        mouse(widget, QEvent::MouseMove, start + QPoint(1, 0), Qt::LeftButton);
        QCOMPARE(carried.size(), 0);
        mouse(widget, QEvent::MouseMove, start + QPoint(QApplication::startDragDistance() + 2, 0),
              Qt::LeftButton);
        QCOMPARE(carried.size(), 1);

        const Carried& data = carried.constFirst();
        QVERIFY(data.formats.contains(u"image/png"_qs));
        QVERIFY(data.formats.contains(u"text/uri-list"_qs));
        QVERIFY(data.formats.contains(u"image/svg+xml"_qs));
        const QImage shown = control<FacePreview>(*m_window, "picSmiley")->Image();
        checkFace(data.image, shown);
        checkFace(QImage::fromData(data.png, "PNG"), shown);

        QCOMPARE(data.urls.size(), 1);
        QVERIFY(data.urls.constFirst().isLocalFile());
        const QFileInfo file(data.urls.constFirst().toLocalFile());
        QCOMPARE(file.fileName(), u"emoticon.png"_qs);
        // The file outlasts the drag, for the file manager to copy.
        QVERIFY(file.exists());
        checkFace(QImage(file.filePath()), shown);

        mouse(widget, QEvent::MouseButtonRelease, start, Qt::NoButton);
    }

    void pressAndReleaseIsNoDrag()
    {
        auto* controller = m_window->findChild<FaceCopyController*>();
        int started = 0;
        connect(controller, &FaceCopyController::dragStarted, this, [&started] { ++started; });
        QWidget* face = control(*m_window, "picSmiley");
        mouse(face, QEvent::MouseButtonPress, {4, 4}, Qt::LeftButton);
        mouse(face, QEvent::MouseButtonRelease, {4, 4}, Qt::NoButton);
        mouse(face, QEvent::MouseMove, {15, 15}, Qt::NoButton);
        QCOMPARE(started, 0);
    }

    // The same face is offered from the same file again; another face gets a file of its
    // own, and the first file stays as it was, for a file manager that may still copy it.
    void dragFilesAreNeverRewritten()
    {
        auto* controller = m_window->findChild<FaceCopyController*>();
        const auto dragged = [controller] {
            return controller->dragData()->urls().constFirst().toLocalFile();
        };
        const QString first = dragged();
        const QByteArray firstBytes = contents(first);
        QVERIFY(!firstBytes.isEmpty());
        QCOMPARE(dragged(), first);

        control<QScrollBar>(*m_window, "scrMond")->setValue(7);
        const QString second = dragged();
        QVERIFY(second != first);
        QCOMPARE(QFileInfo(second).fileName(), u"emoticon.png"_qs);
        checkFace(QImage(second), control<FacePreview>(*m_window, "picSmiley")->Image());
        QCOMPARE(contents(first), firstBytes);
    }

    // The drag file goes with the window.
    void dragFolderGoesWithTheWindow()
    {
        auto* controller = m_window->findChild<FaceCopyController*>();
        const QString file = controller->dragData()->urls().constFirst().toLocalFile();
        QVERIFY(QFileInfo::exists(file));
        m_window.reset();
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!QFileInfo::exists(QFileInfo(file).path()));
    }
};

QTEST_MAIN(TestFaceCopy)
#include "tst_facecopy.moc"
