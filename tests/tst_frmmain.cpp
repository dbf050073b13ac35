// The main window: its pictures, captions that fit, the scroll bars, the Random button, the
// link label and how failures reach the user.

#include "accessibility.h"
#include "faceerror.h"
#include "facepack.h"
#include "facepictures.h"
#include "facepreview.h"
#include "frmMain.h"
#include "handdrawnface.h"
#include "linklabel.h"
#include "modVisitWebsite.h"
#include "msgbox.h"
#include "recordedboxes.h"
#include "renderjob.h"
#include "untrappederror.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include <map>
#include <optional>
#include <stdexcept>

namespace {

template <typename T = QWidget> T* control(const frmMain& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

FacePreview* smiley(const frmMain& window)
{
    return control<FacePreview>(window, "picSmiley");
}

// Whether the device picture shows the face at topLeft with every face pixel a square of
// factor x factor device pixels of its colour.
bool showsFace(const QImage& device, const QImage& face, QPoint topLeft, int factor)
{
    for (int y = 0; y < face.height() * factor; ++y) {
        for (int x = 0; x < face.width() * factor; ++x) {
            const QPoint at = topLeft + QPoint(x, y);
            if (!device.valid(at) ||
                (device.pixel(at) & RGB_MASK) != (face.pixel(x / factor, y / factor) & RGB_MASK)) {
                return false;
            }
        }
    }
    return true;
}

bool underlined(const frmMain& window)
{
    return control<LinkLabel>(window, "lblVisit")->font().underline();
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

    // The window's boxes are written down here instead of shown.
    RecordedBoxes m_recorder;

    // A shell that opens every page it is given, counting them.
    static modVisitWebsite::Opener countingOpener(int& opened)
    {
        return [&opened](QWidget*, const QUrl&) {
            ++opened;
            return true;
        };
    }

private Q_SLOTS:
    void initTestCase() { installAccessibleInterfaces(); }
    void init() { m_recorder.clear(); }

    // Showing the window reads its pictures with their format named: no image plugin is
    // loaded (each would cost start-up time). First, before anything else loads one.
    void startingLoadsNoImagePlugin()
    {
        QFile maps(u"/proc/self/maps"_qs);
        if (!maps.open(QIODevice::ReadOnly)) {
            QSKIP("no /proc/self/maps here");
        }
        maps.close();
        frmMain w(m_recorder);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.grab().isNull());
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY2(!mapped.contains("/imageformats/"), mapped.constData());
    }

    // The icon's two pictures and the hand over the link, read from the resources (a missing
    // one leaves the icon short or the pointer Qt's own).
    void iconAndCursor()
    {
        frmMain w(m_recorder);
        QCOMPARE(w.windowIcon().availableSizes().size(), 2);
        const QCursor hand = control(w, "lblVisit")->cursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        // The hot spot is the finger tip: drawn, with nothing of the hand above it.
        const QImage picture = hand.pixmap().toImage();
        const QPoint tip = hand.hotSpot();
        QVERIFY(picture.rect().contains(tip));
        QCOMPARE(qAlpha(picture.pixel(tip)), 255);
        for (int y = 0; y < tip.y(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                QCOMPARE(qAlpha(picture.pixel(x, y)), 0);
            }
        }
    }

    void previewStartsBlank()
    {
        const frmMain w(m_recorder);
        auto* preview = smiley(w);
        QCOMPARE(preview->Image(), FacePictures::blankFace());
        QCOMPARE(preview->Picture(), FacePictures::blankFace());
    }

    // Nothing is clipped: each caption fits its control, with room for a button's frame.
    void captionsFit()
    {
        const frmMain w(m_recorder);
        for (const char* name :
             {"cmdSave", "cmdRandom", "lblMond", "lblOgen", "lblPreview", "lblVisit"}) {
            const QWidget* widget = control(w, name);
            QVERIFY(widget != nullptr);
            const QString text = widget->property("text").toString();
            QVERIFY(!text.isEmpty());
            const int margin = qobject_cast<const QPushButton*>(widget) ? 8 : 0;
            const int advance = widget->fontMetrics().horizontalAdvance(text);
            QVERIFY2(advance + margin <= widget->width(),
                     qPrintable(u"%1: %2 px wide in %3 px"_qs.arg(QLatin1String(name))
                                    .arg(advance)
                                    .arg(widget->width())));
            QVERIFY(widget->fontMetrics().height() <= widget->height());
        }
    }

    // Every face pixel is an equal square of whole device pixels, the largest whole size that
    // fits the preview's place, and the face is centred in that place: at 125, 150 and 175 %
    // one device pixel each, at 200 % two by two. "screen" reads the window back from the
    // screen at the scale the screen has (the tests run it at each scale); the others draw
    // the window at that scale.
    void previewIsCrisp_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("screen") << 0.0;
        for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
            QTest::newRow(qPrintable(u"%1 %"_qs.arg(scale * 100))) << scale;
        }
    }
    void previewIsCrisp()
    {
        QFETCH(qreal, scale);
        frmMain w(m_recorder);
        control<QScrollBar>(w, "scrOgen")->setValue(3);
        control<QScrollBar>(w, "scrMond")->setValue(4);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const FacePreview* preview = smiley(w);
        const QImage face = preview->Image().convertToFormat(QImage::Format_RGB32);
        const auto picture = [&] {
            if (scale == 0.0) {
                return w.screen()->grabWindow(w.winId()).toImage();
            }
            QImage drawn(qCeil(w.width() * scale), qCeil(w.height() * scale), QImage::Format_RGB32);
            drawn.setDevicePixelRatio(scale);
            w.render(&drawn);
            return drawn;
        };
        if (scale == 0.0) {
            scale = w.devicePixelRatioF();
        }
        const int factor = qFloor(scale + 1e-9);
        const QRectF place(QPointF(preview->mapTo(&w, QPoint(0, 0))) * scale,
                           QSizeF(preview->size()) * scale);
        const QRect inside(QPoint(qCeil(place.left()), qCeil(place.top())),
                           QPoint(qFloor(place.right()) - 1, qFloor(place.bottom()) - 1));

        // The face, wherever it lies in its place.
        std::optional<QPoint> found;
        QImage device;
        for (int attempt = 0; attempt < 50 && !found; ++attempt) {
            device = picture().convertToFormat(QImage::Format_RGB32);
            for (int y = inside.top(); y <= inside.bottom() && !found; ++y) {
                for (int x = inside.left(); x <= inside.right() && !found; ++x) {
                    if (showsFace(device, face, {x, y}, factor)) {
                        found = QPoint(x, y);
                    }
                }
            }
            if (!found) {
                QTest::qWait(100);
            }
        }
        QVERIFY2(found, qPrintable(u"no face of %1 x %1 squares in %2 x %3 at %4 %"_qs.arg(factor)
                                       .arg(device.width())
                                       .arg(device.height())
                                       .arg(scale * 100)));
        const QRectF shown(*found, QSizeF(face.size() * factor));
        QVERIFY(qAbs((shown.left() - place.left()) - (place.right() - shown.right())) <= 1.0);
        QVERIFY(qAbs((shown.top() - place.top()) - (place.bottom() - shown.bottom())) <= 1.0);
        // Around it, the place shows the picture box's white.
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (!shown.contains(QPointF(x + 0.5, y + 0.5))) {
                    QCOMPARE(device.pixel(x, y) & RGB_MASK, QColor(Qt::white).rgb() & RGB_MASK);
                }
            }
        }
    }

    // A button with the focus answers Enter as it answers Space; elsewhere in the window
    // Enter presses nothing (no default button).
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(int, key);
        frmMain w(m_recorder);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* random = control<QPushButton>(w, "cmdRandom");
        QSignalSpy clicks(random, &QPushButton::clicked);
        random->setFocus();
        QTest::keyPress(random, Qt::Key(key));
        QCOMPARE(clicks.count(), 0); // held down, pressed when let go
        QVERIFY(random->isDown());
        QTest::keyRelease(random, Qt::Key(key));
        QCOMPARE(clicks.count(), 1);
        auto* bar = control<QScrollBar>(w, "scrOgen");
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key(key));
        QCOMPARE(clicks.count(), 1);
    }

    // Each bar draws its own band, and the bar moved last draws row 11.
    void barsRecomposeTheirBand()
    {
        frmMain w(m_recorder);
        auto* ogen = control<QScrollBar>(w, "scrOgen");
        auto* mond = control<QScrollBar>(w, "scrMond");
        ogen->setValue(handDrawnEyes - 1);
        mond->setValue(handDrawnMouth);
        // The keyboard moves a bar one style at a time.
        ogen->setFocus();
        QTest::keyClick(ogen, Qt::Key_Right);
        QCOMPARE(ogen->value(), handDrawnEyes);
        QCOMPARE(smiley(w)->Image(), handDrawnFace(true));
        mond->setValue(0);
        mond->setValue(handDrawnMouth);
        QCOMPARE(smiley(w)->Image(), handDrawnFace(false));
        QCOMPARE(smiley(w)->Picture(), FacePictures::blankFace());
    }

    // Every style has one name: the window shows it as the bar's tooltip and description and
    // in the preview's description, and the renderer takes it as shown, lists it and names
    // the pack's files with it. The names the renderer took before still work.
    void styleNames_data()
    {
        QTest::addColumn<bool>("eyes");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("former");
        const QStringList eyeNames{u"geen"_qs,       u"standaard"_qs,     u"blij"_qs,
                                   u"knipoog"_qs,    u"verrast"_qs,       u"tong-uit"_qs,
                                   u"cool"_qs,       u"verward"_qs,       u"boos"_qs,
                                   u"verlegen"_qs,   u"moe"_qs,           u"twijfelend"_qs,
                                   u"verdrietig"_qs, u"huilen"_qs,        u"verbaasd"_qs,
                                   u"ziek"_qs,       u"nerd"_qs,          u"sarcastisch"_qs,
                                   u"mond-dicht"_qs, u"rollende-ogen"_qs, u"slaperig"_qs};
        const QStringList mouthNames{
            u"geen"_qs,       u"standaard"_qs, u"rollende-ogen"_qs, u"slaperig"_qs,
            u"blij"_qs,       u"knipoog"_qs,   u"tong-uit"_qs,      u"cool"_qs,
            u"boos"_qs,       u"verward"_qs,   u"verdrietig"_qs,    u"verrast"_qs,
            u"twijfelend"_qs, u"nerd"_qs,      u"rits"_qs,          u"bozer"_qs};
        const std::map<std::pair<bool, int>, QString> former{
            {{true, 5}, u"tong"_qs},          {{true, 18}, u"monddicht"_qs},
            {{true, 19}, u"rollendeogen"_qs}, {{false, 2}, u"rollendeogen"_qs},
            {{false, 6}, u"tong"_qs},         {{false, 12}, u"twijvelend"_qs}};
        for (const bool eyes : {true, false}) {
            const QStringList& names = eyes ? eyeNames : mouthNames;
            for (int value = 0; value < names.size(); ++value) {
                const auto it = former.find({eyes, value});
                QTest::addRow("%s %d", eyes ? "eyes" : "mouth", value)
                    << eyes << value << names[value]
                    << (it == former.end() ? names[value] : it->second);
            }
        }
    }
    void styleNames()
    {
        QFETCH(bool, eyes);
        QFETCH(int, value);
        QFETCH(QString, name);
        QFETCH(QString, former);
        frmMain w(m_recorder);
        auto* bar = control<QScrollBar>(w, eyes ? "scrOgen" : "scrMond");
        bar->setValue(value == 0 ? 1 : 0);
        bar->setValue(value);
        const QString part = eyes ? u"Ogen"_qs : u"Mond"_qs;
        QCOMPARE(bar->toolTip(), part + u": "_qs + name);
        QCOMPARE(bar->accessibleDescription(), name);
        QCOMPARE(smiley(w)->accessibleDescription(),
                 u"Ogen: %1, mond: %2"_qs.arg(eyes ? name : u"geen"_qs, eyes ? u"geen"_qs : name));

        const QString shown = bar->toolTip().sliced(part.size() + 2);
        for (const QString& given : {shown, shown.toUpper(), former}) {
            const ParsedCommandLine parsed =
                parseCommandLine({u"snoetjesmal-render"_qs, eyes ? u"--eyes"_qs : u"--mouth"_qs,
                                  given, u"-o"_qs, u"f.png"_qs});
            QVERIFY2(parsed.ok(), qPrintable(parsed.message));
            QCOMPARE(eyes ? parsed.options.eyes : parsed.options.mouth, value);
        }
        QVERIFY(styleList().split(u'\n').contains(
            u"%1 %2  %3"_qs.arg(eyes ? u"ogen"_qs : u"mond"_qs).arg(value, 2).arg(name)));
        QCOMPARE(FacePack::fileName(eyes ? value : 0, eyes ? 0 : value, ImageFormat::Svg),
                 (eyes ? name + u"-geen"_qs : u"geen-"_qs + name) + u".svg"_qs);
    }

    void assigningTheSameValueDrawsNothing()
    {
        frmMain w(m_recorder);
        auto* mond = control<QScrollBar>(w, "scrMond");
        auto* ogen = control<QScrollBar>(w, "scrOgen");
        mond->setValue(15); // the stretched mouth: its top row is row 11, unlike the blank
        ogen->setValue(3);
        const QImage before = smiley(w)->Image();
        QSignalSpy changes(mond, &QScrollBar::valueChanged);
        mond->setValue(15); // a redraw would give row 11 back to the mouth
        QCOMPARE(changes.count(), 0);
        QCOMPARE(smiley(w)->Image(), before);
    }

    void randomSetsEyesThenMouth()
    {
        frmMain w(m_recorder);
        auto* ogen = control<QScrollBar>(w, "scrOgen");
        auto* mond = control<QScrollBar>(w, "scrMond");
        QStringList changes;
        connect(ogen, &QScrollBar::valueChanged, this, [&] { changes.append(u"ogen"_qs); });
        connect(mond, &QScrollBar::valueChanged, this, [&] { changes.append(u"mond"_qs); });
        QSet<int> eyesSeen;
        QSet<int> mouthsSeen;
        int unchangedEyes = 0;
        for (int click = 0; click < 2000; ++click) {
            const int eyesBefore = ogen->value();
            const int mouthBefore = mond->value();
            changes.clear();
            QTest::mouseClick(control(w, "cmdRandom"), Qt::LeftButton);
            QStringList expected;
            if (ogen->value() != eyesBefore) {
                expected.append(u"ogen"_qs);
            } else {
                ++unchangedEyes;
            }
            if (mond->value() != mouthBefore) {
                expected.append(u"mond"_qs);
            }
            QCOMPARE(changes, expected);
            eyesSeen.insert(ogen->value());
            mouthsSeen.insert(mond->value());
        }
        QVERIFY(unchangedEyes > 0);
        QCOMPARE(eyesSeen.size(), 20); // 1 to 20: never blank, the sleepy eyes included
        QVERIFY(!eyesSeen.contains(0));
        QCOMPARE(mouthsSeen.size(), 15);
        QVERIFY(mouthsSeen.contains(15));
    }

    void randomReadsTheMaximumAtEveryClick()
    {
        frmMain w(m_recorder);
        auto* ogen = control<QScrollBar>(w, "scrOgen");
        ogen->setMaximum(3);
        QSet<int> seen;
        for (int click = 0; click < 300; ++click) {
            QTest::mouseClick(control(w, "cmdRandom"), Qt::LeftButton);
            seen.insert(ogen->value());
        }
        QCOMPARE(seen, (QSet<int>{1, 2, 3}));
        // A bound without styles still gives the first style.
        for (const std::int16_t none : {std::int16_t{0}, std::int16_t{-7}}) {
            QCOMPARE(int(frmMain::RandomValue(none)), 1);
        }
    }

    void underline()
    {
        frmMain w(m_recorder);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* label = control<LinkLabel>(w, "lblVisit");
        QVERIFY(!underlined(w));
        QTest::mouseMove(label, label->rect().center());
        QVERIFY(underlined(w));
        // Over another control, or off the window: it stays on.
        QTest::mouseMove(control(w, "cmdSave"), QPoint(5, 5));
        QVERIFY(underlined(w));
        QTest::mouseMove(control(w, "scrOgen"), QPoint(30, 5));
        QVERIFY(underlined(w));
        QTest::mouseMove(control(w, "picBorder"), QPoint(5, 5));
        QVERIFY(underlined(w));
        // Straight off the window: it stays on.
        QTest::mouseMove(label, label->rect().center());
        QTest::mouseMove(&w, QPoint(-20, 300));
        QVERIFY(underlined(w));
        // Over the bare window: off.
        QTest::mouseMove(&w, QPoint(150, 195));
        QVERIFY(!underlined(w));
        QTest::mouseMove(label, label->rect().center());
        QVERIFY(underlined(w));
    }

    void linkOpensTheHomePage_data()
    {
        QTest::addColumn<int>("outcome"); // 0 opened, 1 refused, 2 threw
        QTest::newRow("opened") << 0;
        QTest::newRow("shell refuses") << 1;
        QTest::newRow("shell fails") << 2;
    }
    void linkOpensTheHomePage()
    {
        QFETCH(int, outcome);
        QList<QUrl> opened;
        const auto opener = [&](QWidget*, const QUrl& url) {
            opened.append(url);
            if (outcome == 2) {
                throw std::runtime_error("no shell");
            }
            return outcome == 0;
        };
        frmMain w(m_recorder, opener);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* label = control<LinkLabel>(w, "lblVisit");
        QTest::mouseMove(label, label->rect().center());
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(opened, QList<QUrl>{modVisitWebsite::homePage});
        QVERIFY(!underlined(w));
        if (outcome == 0) {
            QVERIFY(m_recorder.boxes.isEmpty());
        } else {
            QCOMPARE(m_recorder.boxes.size(), 1);
            QCOMPARE(m_recorder.boxes[0].request.text,
                     u"Fout opgetreden bij het openen van de internetpagina.\r\n"
                     "Start handmatig de internetbrowser op, en ga naar "_qs +
                         modVisitWebsite::homePage.toString());
            QCOMPARE(m_recorder.boxes[0].request.style, errorBox);
            QCOMPARE(m_recorder.boxes[0].request.title, u"Snoetjesmal"_qs);
        }
    }

    void linkWorksFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void linkWorksFromTheKeyboard()
    {
        QFETCH(int, key);
        int opened = 0;
        frmMain w(m_recorder, countingOpener(opened));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* label = control<LinkLabel>(w, "lblVisit");
        label->setFocus();
        const auto send = [&](QEvent::Type type, quint64 time, bool flagged = false) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(), flagged);
            event.setTimestamp(time);
            QApplication::sendEvent(label, &event);
        };
        // A key held down repeats its press: as presses flagged as repeats or not (Windows,
        // X11 when Qt sees the pair in time), or as a release and a press at the same moment
        // (X11 on a busy machine). The page opens once all the same.
        quint64 time = 1000;
        send(QEvent::KeyPress, time);
        for (int repeat = 0; repeat < 4; ++repeat) {
            send(QEvent::KeyPress, time += 33, repeat % 2 == 0);
        }
        for (int repeat = 0; repeat < 4; ++repeat) {
            send(QEvent::KeyRelease, time += 33);
            send(QEvent::KeyPress, time);
        }
        send(QEvent::KeyRelease, time += 20);
        QCOMPARE(opened, 1);
        // Let go and pressed again: a new press.
        send(QEvent::KeyPress, time += 120);
        QCOMPARE(opened, 2);
        // A press on the label released elsewhere is no click.
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(opened, 2);
    }

    // Assistive technology sees the label as a link it can press, inside a window.
    void linkIsALinkToAssistiveTechnology()
    {
        int opened = 0;
        frmMain w(m_recorder, countingOpener(opened));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
        QVERIFY(window != nullptr);
        QCOMPARE(window->role(), QAccessible::Window);
        QAccessibleInterface* link =
            QAccessible::queryAccessibleInterface(control<LinkLabel>(w, "lblVisit"));
        QVERIFY(link != nullptr);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), u"Bezoek "_qs + modVisitWebsite::siteName);
        QAccessibleActionInterface* actions = link->actionInterface();
        QVERIFY(actions != nullptr);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(opened, 1);
    }

    void failuresAreReportedAndTheProgramGoesOn()
    {
        frmMain w(m_recorder);
        bool after = false;
        runHandler(m_recorder, &w, [&] {
            throw FaceError(FaceError::Problem::Unreadable, "picOogCool");
            after = true;
        });
        QVERIFY(!after);
        QCOMPARE(m_recorder.boxes.size(), 1);
        QCOMPARE(m_recorder.boxes[0].request.text,
                 u"Fout opgetreden:\r\nDe afbeelding picOogCool ontbreekt in het programma of is "
                 "beschadigd."_qs);
        QCOMPARE(m_recorder.boxes[0].request.title, u"Snoetjesmal"_qs);
        runHandler(m_recorder, &w, [] { throw 42; });
        QCOMPARE(m_recorder.boxes.size(), 2);
        QVERIFY(m_recorder.boxes[1].request.text.startsWith(u"Fout opgetreden:\r\n"_qs));
    }

    void messageBoxAnswers_data()
    {
        QTest::addColumn<MsgBoxStyles>("style");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<int>("button"); // the button pressed, or 0 for the Escape key
        QTest::addColumn<MsgBoxAnswer>("answer");
        const MsgBoxStyles information(MsgBoxStyle::Information);
        const MsgBoxStyles yesNo = replaceStyle;
        const MsgBoxStyles critical = MsgBoxStyle::OkOnly | MsgBoxStyle::Critical;
        const int ok = QMessageBox::Ok;
        QTest::newRow("OK") << information << QMessageBox::Information << ok << MsgBoxAnswer::Ok;
        QTest::newRow("error") << errorBox << QMessageBox::Warning << ok << MsgBoxAnswer::Ok;
        QTest::newRow("critical") << critical << QMessageBox::Critical << ok << MsgBoxAnswer::Ok;
        QTest::newRow("Yes") << yesNo << QMessageBox::Information << int(QMessageBox::Yes)
                             << MsgBoxAnswer::Yes;
        QTest::newRow("No") << yesNo << QMessageBox::Information << int(QMessageBox::No)
                            << MsgBoxAnswer::No;
        QTest::newRow("Escape is No") << yesNo << QMessageBox::Information << 0 << MsgBoxAnswer::No;
    }
    void messageBoxAnswers()
    {
        QFETCH(MsgBoxStyles, style);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(int, button);
        QFETCH(MsgBoxAnswer, answer);
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QString shownText;
        QString shownTitle;
        QStringList buttonTexts;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            shownText = box->text();
            shownIcon = box->icon();
            // The buttons speak the program's language.
            for (QAbstractButton* b : box->buttons()) {
                buttonTexts.append(b->text());
            }
            shownTitle = box->windowTitle();
            if (button == 0) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(static_cast<QMessageBox::StandardButton>(button))->click();
            }
        });
        ScreenMessageBoxes screen;
        QCOMPARE(MsgBox(screen, nullptr, u"een\r\ntwee"_qs, style), answer);
        QCOMPARE(shownText, u"een\ntwee"_qs);
        QCOMPARE(shownIcon, icon);
        QCOMPARE(shownTitle, u"Snoetjesmal"_qs);
        buttonTexts.sort();
        const QStringList expectedButtons = buttonsOf(style) == MsgBoxStyle::YesNo
                                                ? QStringList{u"&Ja"_qs, u"&Nee"_qs}
                                                : QStringList{u"OK"_qs};
        QCOMPARE(buttonTexts, expectedButtons);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
