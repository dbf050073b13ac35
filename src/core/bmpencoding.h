#pragma once

#include <QByteArray>
#include <QImage>

// A face as the bytes of a Windows bitmap file: 24 bits a pixel, rows bottom-up and padded
// to four bytes, no colour table, 96 dpi. Returns an empty array when encoding fails.
QByteArray encodeBmp(const QImage& image);

// 3779 pixels a metre is 96 dots an inch.
inline constexpr int bmpDotsPerMeter = 3779;
