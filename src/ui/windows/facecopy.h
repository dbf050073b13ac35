#pragma once

#include "dragfiles.h"
#include "msgbox.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

class FacePreview;
class QAction;
class QMenu;
class QMimeData;
class QWidget;

// Taking the face out of the main window: Ctrl+C, the preview's context menu ("Kopiëren",
// "Kopiëren als 128 × 128", "Kopiëren als SVG") and dragging the preview to another program
// or a file manager. Other programs get the face with a transparent background.
namespace FaceCopy {

// The square that chat programs take custom emoticons in.
inline constexpr int chatSize = 128;

// The file name a dragged face gets in a file manager.
inline constexpr QStringView dragFileName = u"emoticon.png";

// The face as other programs take it: transparent around the disc, and fitted into a square
// of side (nearest neighbour, centred) when side is larger than the face.
QImage exportImage(const QImage& face, int side);

// Clipboard and drag data for an image: the image itself and the same as "image/png".
std::unique_ptr<QMimeData> imageMimeData(const QImage& image);

// Adds the image as an SVG drawing, "image/svg+xml".
void addSvg(QMimeData& data, const QImage& image);

} // namespace FaceCopy

// Copying and dragging for the preview of a window. The actions belong to the window, so
// Ctrl+C works wherever the focus is in it; the context menu opens on the preview widgets
// with the mouse, and with the menu key or Shift+F10 when one of them has the focus.
class FaceCopyController : public QObject
{
    Q_OBJECT

public:
    using FaceSource = std::function<QImage()>;

    FaceCopyController(QWidget* window, const QList<QWidget*>& preview, FaceSource face);
    ~FaceCopyController() override;

    // Who tells the user when the system does not take a copy (a browser may not).
    void setRefusalHandler(std::function<void(const QString& reason)> refused)
    {
        m_refused = std::move(refused);
    }

    QAction* copyAction() const { return m_copy; }
    QAction* copyChatSizeAction() const { return m_copyChatSize; }
    QAction* copySvgAction() const { return m_copySvg; }

    // The face on the clipboard, as it is (19 x 19) or at chat size.
    void copy(int side) const;

    // The face on the clipboard as an SVG drawing, and the same markup as plain text for
    // programs that only paste text. (A drag carries no such text: a chat program would
    // take it for a message.)
    void copySvg() const;

    // What a drag of the face carries: the image, PNG and SVG data, and the face written as
    // emoticon.png in a folder of its own that lasts as long as the controller (see
    // dragfiles.h: the drag does not wait for the disk).
    std::unique_ptr<QMimeData> dragData();

Q_SIGNALS:
    // A drag of the face begins with this data.
    void dragStarted(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMenu(const QPoint& globalPos);
    void showMenuFromKeyboard();
    void startDrag(QWidget* source);

    QPointer<QWidget> m_window;
    QList<QPointer<QWidget>> m_preview;
    FaceSource m_face;
    std::function<void(const QString&)> m_refused;
    QAction* m_copy = nullptr;
    QAction* m_copyChatSize = nullptr;
    QAction* m_copySvg = nullptr;
    QMenu* m_menu = nullptr;
    DragFiles m_dragFiles;
    QPointer<QWidget> m_pressedOn;
    QPoint m_pressPosition;
};

// Adds copying and dragging to the main window's preview: picBorder and picSmiley in it. A
// copy the system does not take is told through boxes.
FaceCopyController* installFaceCopy(QWidget* window, QWidget* picBorder, FacePreview* picSmiley,
                                    MessageBoxes& boxes);
