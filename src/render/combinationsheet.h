#pragma once

#include <QImage>

// Every face the program can make on one picture: a row for each eye value and a column for
// each mouth value, each cell the face composed as the program does and enlarged by scale,
// with the values and style names in a header row and column.
QImage combinationSheet(int scale);

// Where the face of a combination lies on the sheet, for checking a sheet.
QRect combinationCell(int scale, int eyes, int mouth);
