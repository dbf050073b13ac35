#include "randomvalue.h"

#include <QRandomGenerator>

std::int16_t RandomValue(const std::int16_t& strMax)
{
    if (strMax < 1) {
        return 1;
    }
    return static_cast<std::int16_t>(QRandomGenerator::global()->bounded(int{strMax}) + 1);
}
