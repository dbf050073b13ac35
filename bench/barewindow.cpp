// A bare Qt window with the same kinds of controls as Snoetjesmal's main window, at the same
// places and size, but none of the program's own work: no face pictures, no window icon or
// cursor, no font choice. The start-up measurement compares the program with it.

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {

// A 19 x 19 picture drawn from an image, as the program's preview is.
class ImageBox : public QWidget
{
public:
    explicit ImageBox(QWidget* parent) : QWidget(parent), m_image(19, 19, QImage::Format_RGB32)
    {
        m_image.fill(Qt::yellow);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(m_image.size());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(rect(), m_image);
    }

private:
    QImage m_image;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(281, 200);

    auto* border = new QFrame(&window);
    border->setGeometry(16, 32, 100, 105);
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(2);
    border->setAutoFillBackground(true);
    QPalette white = border->palette();
    white.setColor(QPalette::Window, Qt::white);
    border->setPalette(white);
    (new ImageBox(border))->move(42, 42);

    auto* group = new QFrame(&window);
    group->setGeometry(128, 26, 145, 112);
    group->setFrameStyle(QFrame::Box | QFrame::Sunken);
    (new QLabel(QStringLiteral("Ogen:"), group))->setGeometry(8, 16, 121, 17);
    (new QScrollBar(Qt::Horizontal, group))->setGeometry(8, 32, 129, 17);
    (new QLabel(QStringLiteral("Mond:"), group))->setGeometry(8, 56, 81, 17);
    (new QScrollBar(Qt::Horizontal, group))->setGeometry(8, 72, 129, 17);

    (new QLabel(QStringLiteral("Preview:"), &window))->setGeometry(16, 16, 89, 17);
    auto* line = new QFrame(&window);
    line->setGeometry(8, 152, 265, 9);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    (new QLabel(QStringLiteral("Bezoek de website"), &window))->setGeometry(8, 176, 129, 17);
    (new QPushButton(QStringLiteral("Random"), &window))->setGeometry(144, 168, 65, 25);
    (new QPushButton(QStringLiteral("Opslaan"), &window))->setGeometry(208, 168, 65, 25);

    window.show();
    return QApplication::exec();
}
