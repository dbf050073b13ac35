#include "facecopy.h"

#include "faceexport.h"
#include "facepreview.h"
#include "imageencoding.h"
#include "systemclipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace FaceCopy {

QImage exportImage(const QImage& face, int side)
{
    const QImage transparent = FaceExport::withTransparency(face);
    if (side <= transparent.width() && side <= transparent.height()) {
        return transparent;
    }
    return FaceExport::fitted(transparent, side, Qt::transparent);
}

std::unique_ptr<QMimeData> imageMimeData(const QImage& image)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(image);
    const QByteArray png = encodeImage(image, ImageFormat::Png);
    if (!png.isEmpty()) {
        data->setData(QStringLiteral("image/png"), png);
    }
    return data;
}

void addSvg(QMimeData& data, const QImage& image)
{
    const QByteArray svg = encodeImage(image, ImageFormat::Svg);
    if (!svg.isEmpty()) {
        data.setData(QStringLiteral("image/svg+xml"), svg);
    }
}

} // namespace FaceCopy

namespace {

bool isMenuKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    return (event.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

} // namespace

FaceCopyController::FaceCopyController(QWidget* window, const QList<QWidget*>& preview,
                                       FaceSource face)
    : QObject(window), m_window(window), m_face(std::move(face))
{
    setObjectName(QStringLiteral("faceCopy"));

    m_copy = new QAction(QStringLiteral("&Kopiëren"), window);
    m_copy->setObjectName(QStringLiteral("actKopieren"));
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WindowShortcut);
    connect(m_copy, &QAction::triggered, this, [this] { copy(0); });
    window->addAction(m_copy);

    m_copyChatSize =
        new QAction(QStringLiteral("Kopiëren &als %1 × %1").arg(FaceCopy::chatSize), window);
    m_copyChatSize->setObjectName(QStringLiteral("actKopierenGroot"));
    connect(m_copyChatSize, &QAction::triggered, this, [this] { copy(FaceCopy::chatSize); });

    m_copySvg = new QAction(QStringLiteral("Kopiëren als &SVG"), window);
    m_copySvg->setObjectName(QStringLiteral("actKopierenSvg"));
    connect(m_copySvg, &QAction::triggered, this, &FaceCopyController::copySvg);

    for (QWidget* widget : preview) {
        m_preview.append(widget);
        widget->installEventFilter(this);
    }
}

FaceCopyController::~FaceCopyController() = default;

void FaceCopyController::copy(int side) const
{
    const QImage image = FaceCopy::exportImage(m_face(), side);
    SystemClipboard::put(FaceCopy::imageMimeData(image), m_refused);
}

void FaceCopyController::copySvg() const
{
    auto data = std::make_unique<QMimeData>();
    FaceCopy::addSvg(*data, FaceCopy::exportImage(m_face(), 0));
    data->setText(QString::fromUtf8(data->data(QStringLiteral("image/svg+xml"))));
    SystemClipboard::put(std::move(data), m_refused);
}

std::unique_ptr<QMimeData> FaceCopyController::dragData()
{
    const QImage image = FaceCopy::exportImage(m_face(), 0);
    std::unique_ptr<QMimeData> data = FaceCopy::imageMimeData(image);
    FaceCopy::addSvg(*data, image);

    // A file manager takes a file: the face as emoticon.png, which stays until the window
    // goes, long after the drop has been handled.
    const QString file = m_dragFiles.offer(FaceCopy::dragFileName.toString(),
                                           data->data(QStringLiteral("image/png")));
    if (!file.isEmpty()) {
        data->setUrls({QUrl::fromLocalFile(file)});
    }
    return data;
}

void FaceCopyController::showMenu(const QPoint& globalPos)
{
    // Made when first asked for: the window's first frame does not wait for it.
    if (m_menu == nullptr) {
        m_menu = new QMenu(m_window);
        m_menu->setObjectName(QStringLiteral("mnuPreview"));
        m_menu->addAction(m_copy);
        m_menu->addAction(m_copyChatSize);
        m_menu->addAction(m_copySvg);
    }
    if (!m_menu->isVisible()) {
        m_menu->popup(globalPos);
    }
}

void FaceCopyController::showMenuFromKeyboard()
{
    // Under the preview's face, where the focus is shown.
    for (const QPointer<QWidget>& widget : m_preview) {
        if (qobject_cast<FacePreview*>(widget.data())) {
            showMenu(widget->mapToGlobal(widget->rect().center()));
            return;
        }
    }
    if (!m_preview.isEmpty() && m_preview.constFirst()) {
        const QWidget* widget = m_preview.constFirst();
        showMenu(widget->mapToGlobal(widget->rect().center()));
    }
}

void FaceCopyController::startDrag(QWidget* source)
{
    auto* drag = new QDrag(source);
    std::unique_ptr<QMimeData> data = dragData();
    const QImage shown = FaceExport::enlarged(data->imageData().value<QImage>(), 2);
    drag->setPixmap(QPixmap::fromImage(shown));
    drag->setHotSpot(QPoint(shown.width() / 2, shown.height() / 2));
    drag->setMimeData(data.release());
    Q_EMIT dragStarted(drag->mimeData());
    // The drag manager deletes the drag when it is over.
    drag->exec(Qt::CopyAction);
}

bool FaceCopyController::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Keyboard) {
            showMenuFromKeyboard();
        } else {
            showMenu(menuEvent->globalPos());
        }
        return true;
    }
    case QEvent::KeyPress:
        if (isMenuKey(*static_cast<QKeyEvent*>(event))) {
            showMenuFromKeyboard();
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_pressedOn = widget;
            m_pressPosition = mouse->globalPosition().toPoint();
        }
        break; // the press goes on to the widget as before
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_pressedOn && (mouse->buttons() & Qt::LeftButton) &&
            SystemClipboard::dragsLeaveTheProgram() &&
            (mouse->globalPosition().toPoint() - m_pressPosition).manhattanLength() >=
                QApplication::startDragDistance()) {
            QWidget* source = m_pressedOn;
            m_pressedOn = nullptr;
            startDrag(source);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressedOn = nullptr;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

FaceCopyController* installFaceCopy(QWidget* window, QWidget* picBorder, FacePreview* picSmiley,
                                    MessageBoxes& boxes)
{
    const QPointer<FacePreview> preview(picSmiley);
    auto* controller = new FaceCopyController(window, {picBorder, picSmiley}, [preview] {
        return preview ? preview->Image() : QImage();
    });
    const QPointer<QWidget> owner(window);
    controller->setRefusalHandler([&boxes, owner](const QString& reason) {
        MsgBox(boxes, owner, reason, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation);
    });
    return controller;
}
