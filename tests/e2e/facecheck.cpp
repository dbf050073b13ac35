// The end-to-end test's helper: makes the faces the preview should show, compares pictures
// pixel for pixel, and closes a window the way a window manager's close box does.
//
//   facecheck expect OUT.png STEP...   the face after these steps on a new preview: eN redraws
//                                      the eyes with style N, mN the mouth, in this order
//   facecheck same A B                 exit 0 when both pictures have the same size and
//                                      pixels (alpha aside); otherwise prints how many differ
//   facecheck identify PICTURE         prints "eyes N mouth M" when the picture is one of the
//                                      faces the two bars can make; exit 1 when it is none
//   facecheck close WINDOW_ID          sends WM_DELETE_WINDOW to the window
//   facecheck setting FILE KEY         prints the value of KEY in the settings file FILE as
//                                      Qt's settings read it (the file escapes some values)

#include "catalogue.h"
#include "facecanvas.h"

#include <QImage>
#include <QSettings>
#include <QString>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: facecheck expect OUT.png STEP... | same A B | identify PICTURE |"
                         " close WINDOW_ID | setting FILE KEY\n");
    return 2;
}

std::optional<QImage> load(const char* path)
{
    QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return std::nullopt;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// How many pixels differ; -1 when the sizes do.
qsizetype differences(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return -1;
    }
    qsizetype count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += (a.pixel(x, y) & RGB_MASK) != (b.pixel(x, y) & RGB_MASK) ? 1 : 0;
        }
    }
    return count;
}

int expect(int argc, char* argv[])
{
    if (argc < 3) {
        return usage();
    }
    FaceCanvas canvas;
    for (int i = 3; i < argc; ++i) {
        const char band = argv[i][0];
        char* end = nullptr;
        const long value = std::strtol(argv[i] + 1, &end, 10);
        if ((band != 'e' && band != 'm') || end == argv[i] + 1 || *end != '\0') {
            return usage();
        }
        if (band == 'e') {
            canvas.recomposeEyes(static_cast<int>(value));
        } else {
            canvas.recomposeMouth(static_cast<int>(value));
        }
    }
    if (!canvas.image().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

int same(const char* first, const char* second)
{
    const auto a = load(first);
    const auto b = load(second);
    if (!a || !b) {
        return 2;
    }
    const qsizetype count = differences(*a, *b);
    if (count < 0) {
        std::printf("sizes differ: %dx%d and %dx%d\n", a->width(), a->height(), b->width(),
                    b->height());
        return 1;
    }
    if (count > 0) {
        std::printf("%lld pixels differ\n", static_cast<long long>(count));
        return 1;
    }
    return 0;
}

int identify(const char* path)
{
    const auto picture = load(path);
    if (!picture) {
        return 2;
    }
    // The bands share a row, so the face depends on which band was drawn last.
    for (int eyes = 0; eyes <= Catalogue::eyeMaximum; ++eyes) {
        for (int mouth = 0; mouth <= Catalogue::mouthMaximum; ++mouth) {
            for (const bool eyesLast : {false, true}) {
                FaceCanvas canvas;
                if (eyesLast) {
                    canvas.recomposeMouth(mouth);
                    canvas.recomposeEyes(eyes);
                } else {
                    canvas.recomposeEyes(eyes);
                    canvas.recomposeMouth(mouth);
                }
                if (differences(canvas.image(), *picture) == 0) {
                    std::printf("eyes %d mouth %d\n", eyes, mouth);
                    return 0;
                }
            }
        }
    }
    std::printf("no face the bars can make\n");
    return 1;
}

int closeWindow(const char* id)
{
    char* end = nullptr;
    const unsigned long window = std::strtoul(id, &end, 0);
    if (end == id || *end != '\0') {
        return usage();
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}

int setting(const char* file, const char* key)
{
    const QSettings settings(QString::fromLocal8Bit(file), QSettings::IniFormat);
    const QVariant value = settings.value(QString::fromLocal8Bit(key));
    if (settings.status() != QSettings::NoError || !value.isValid()) {
        return 1;
    }
    std::printf("%s\n", value.toString().toLocal8Bit().constData());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        return usage();
    }
    const char* command = argv[1];
    if (std::strcmp(command, "expect") == 0) {
        return expect(argc, argv);
    }
    if (std::strcmp(command, "same") == 0 && argc == 4) {
        return same(argv[2], argv[3]);
    }
    if (std::strcmp(command, "identify") == 0 && argc == 3) {
        return identify(argv[2]);
    }
    if (std::strcmp(command, "close") == 0 && argc == 3) {
        return closeWindow(argv[2]);
    }
    if (std::strcmp(command, "setting") == 0 && argc == 4) {
        return setting(argv[2], argv[3]);
    }
    return usage();
}
