#include "combinationsheet.h"

#include "catalogue.h"
#include "faceexport.h"
#include "facepictures.h"
#include "stylenames.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int padding = 4;
constexpr int headerWidth = 120;
constexpr int headerHeight = 40;
constexpr int minimumCellWidth = 88;  // room for the longest style name
constexpr int lineHeight = 16;        // a line of a label
constexpr int minimumCellHeight = 36; // room for a label's two lines

struct Layout
{
    int face;
    int cellWidth;
    int cellHeight;
};

Layout layoutFor(int scale)
{
    const int face = FacePictures::faceSize * scale;
    return {face, std::max(face, minimumCellWidth) + 2 * padding,
            std::max(face + 2 * padding, minimumCellHeight)};
}

QRect cellRect(const Layout& layout, int row, int column)
{
    return {headerWidth + column * layout.cellWidth, headerHeight + row * layout.cellHeight,
            layout.cellWidth, layout.cellHeight};
}

// Two centred lines in the middle of a header cell: the value, and the style's name.
void drawLabel(QPainter& painter, const QRect& rect, const QString& title, const QString& name)
{
    const int middle = rect.top() + rect.height() / 2;
    painter.drawText(QRect(rect.left(), middle - lineHeight, rect.width(), lineHeight),
                     Qt::AlignCenter, title);
    painter.drawText(QRect(rect.left(), middle, rect.width(), lineHeight), Qt::AlignCenter, name);
}

} // namespace

QRect combinationCell(int scale, int eyes, int mouth)
{
    const Layout layout = layoutFor(scale);
    const QRect cell = cellRect(layout, eyes, mouth);
    return {cell.left() + (cell.width() - layout.face) / 2,
            cell.top() + (cell.height() - layout.face) / 2, layout.face, layout.face};
}

QImage combinationSheet(int scale)
{
    const Layout layout = layoutFor(scale);
    const int rows = Catalogue::eyeMaximum + 1;
    const int columns = Catalogue::mouthMaximum + 1;
    QImage sheet(headerWidth + columns * layout.cellWidth, headerHeight + rows * layout.cellHeight,
                 QImage::Format_RGB32);
    if (sheet.isNull()) {
        return {};
    }
    sheet.fill(Qt::white);

    QPainter painter(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);

    const QColor header(0xe8, 0xe8, 0xe8);
    const QColor grid(0xc8, 0xc8, 0xc8);
    painter.fillRect(0, 0, sheet.width(), headerHeight, header);
    painter.fillRect(0, 0, headerWidth, sheet.height(), header);
    painter.setPen(Qt::black);
    painter.drawText(QRect(padding, padding, headerWidth - 2 * padding, headerHeight - 2 * padding),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ogen \\ mond"));
    for (int mouth = 0; mouth < columns; ++mouth) {
        QRect rect = cellRect(layout, 0, mouth);
        rect.moveTop(0);
        rect.setHeight(headerHeight);
        drawLabel(painter, rect, QStringLiteral("Mond %1").arg(mouth),
                  StyleNames::nameOf(StyleNames::Part::Mouth, mouth));
    }
    for (int eyes = 0; eyes < rows; ++eyes) {
        QRect rect = cellRect(layout, eyes, 0);
        rect.moveLeft(0);
        rect.setWidth(headerWidth);
        drawLabel(painter, rect, QStringLiteral("Ogen %1").arg(eyes),
                  StyleNames::nameOf(StyleNames::Part::Eyes, eyes));
    }

    for (int eyes = 0; eyes < rows; ++eyes) {
        for (int mouth = 0; mouth < columns; ++mouth) {
            const QImage face = FaceExport::enlarged(FaceExport::composeFace(eyes, mouth), scale);
            painter.drawImage(combinationCell(scale, eyes, mouth).topLeft(), face);
        }
    }

    // The grid between the cells, over the header's edge as well.
    painter.setPen(grid);
    for (int column = 0; column <= columns; ++column) {
        const int x = headerWidth + column * layout.cellWidth - (column == columns ? 1 : 0);
        painter.drawLine(x, 0, x, sheet.height() - 1);
    }
    for (int row = 0; row <= rows; ++row) {
        const int y = headerHeight + row * layout.cellHeight - (row == rows ? 1 : 0);
        painter.drawLine(0, y, sheet.width() - 1, y);
    }
    painter.end();
    return sheet;
}
