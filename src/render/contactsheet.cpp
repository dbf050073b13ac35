#include "contactsheet.h"

#include "facecanvas.h"
#include "faceexport.h"
#include "facepictures.h"
#include "stylenames.h"

#include <QFont>
#include <QPainter>

namespace {

constexpr int columns = 6;
constexpr int margin = 12;
constexpr int labelHeight = 34;

struct Cell
{
    QString title;
    QString name;
    QImage face;
};

// One cell for every value of a band, 0 (no style) included.
QList<Cell> cells(const QString& band, StyleNames::Part part, void (FaceCanvas::*recompose)(int))
{
    QList<Cell> result;
    for (int value = 0; value <= StyleNames::maximum(part); ++value) {
        FaceCanvas canvas;
        (canvas.*recompose)(value);
        result.append({QStringLiteral("%1 %2").arg(band).arg(value),
                       StyleNames::nameOf(part, value), canvas.image()});
    }
    return result;
}

int rowsFor(qsizetype count)
{
    return static_cast<int>((count + columns - 1) / columns);
}

} // namespace

QImage stylesSheet(int scale)
{
    const QList<Cell> eyes =
        cells(QStringLiteral("Ogen"), StyleNames::Part::Eyes, &FaceCanvas::recomposeEyes);
    const QList<Cell> mouths =
        cells(QStringLiteral("Mond"), StyleNames::Part::Mouth, &FaceCanvas::recomposeMouth);
    const int face = FacePictures::faceSize * scale;
    const int cellWidth = std::max(face, 150) + margin;
    const int cellHeight = face + labelHeight + margin;
    const int rows = rowsFor(eyes.size()) + rowsFor(mouths.size());

    QImage sheet(columns * cellWidth + margin, rows * cellHeight + 2 * margin,
                 QImage::Format_RGB32);
    sheet.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);

    int row = 0;
    for (const QList<Cell>* group : {&eyes, &mouths}) {
        for (qsizetype i = 0; i < group->size(); ++i) {
            const Cell& cell = group->at(i);
            const int x = margin + static_cast<int>(i % columns) * cellWidth;
            const int y = margin + (row + static_cast<int>(i / columns)) * cellHeight;
            painter.drawImage(x, y, FaceExport::enlarged(cell.face, scale));
            painter.setPen(Qt::black);
            painter.drawText(QRect(x, y + face + 2, cellWidth - margin, 16),
                             Qt::AlignLeft | Qt::AlignVCenter, cell.title);
            painter.drawText(QRect(x, y + face + 17, cellWidth - margin, 16),
                             Qt::AlignLeft | Qt::AlignVCenter, cell.name);
        }
        row += rowsFor(group->size());
    }
    return sheet;
}
