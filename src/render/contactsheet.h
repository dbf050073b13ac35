#pragma once

#include <QImage>

// A picture of every style for looking at the artwork: each eye style over the blank mouth
// and each mouth style under the blank eyes, enlarged by nearest neighbour and labelled with
// its value and name.
QImage stylesSheet(int scale);
