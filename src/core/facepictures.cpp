#include "facepictures.h"

#include "faceerror.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <vector>

namespace FacePictures {

namespace {

using enum Kind;

// Where each strip sits in a whole face: eye strips from the top row (the standard and
// happy eyes hold only the band of the eyes), mouths of 7 rows from row 12, of 8 rows from 11.
constexpr std::array<Info, 38> table{{
    {blankFaceName, Blank, 19, 0},       {"picOogStandaard", Eyes, 6, 5},
    {"picOogBLij", Eyes, 6, 1},          {"picOogKnipoog", Eyes, 10, 0},
    {"picOogVerrast", Eyes, 11, 0},      {"picOogTong", Eyes, 10, 0},
    {"picOogCool", Eyes, 10, 0},         {"picOogVerward", Eyes, 10, 0},
    {"picOogBoos", Eyes, 10, 0},         {"picOogVerlegen", Eyes, 9, 0},
    {"PicOogMoe", Eyes, 12, 0},          {"picOogTwijfelend", Eyes, 10, 0},
    {"picOogVerdrietig", Eyes, 10, 0},   {"picOogHuilen", Eyes, 6, 0},
    {"picOogVerbaasd", Eyes, 10, 0},     {"picOogZiek", Eyes, 10, 0},
    {"picOogNerd", Eyes, 9, 0},          {"picOogSarcastisch", Eyes, 11, 0},
    {"picOogMonddicht", Eyes, 10, 0},    {"picOogRollendeogen", Eyes, 11, 0},
    {"picOogBlanco", Eyes, 12, 0},       {"picOogSlaperig", Eyes, 12, 0},
    {"picMondStandaard", Mouth, 7, 12},  {"picMondRollendeogen", Mouth, 7, 12},
    {"picMondBlanco", Mouth, 8, 11},     {"picMondSlaperig", Mouth, 7, 12},
    {"picMondBlij", Mouth, 7, 12},       {"picMondKnipoog", Mouth, 8, 11},
    {"picMondTong", Mouth, 7, 12},       {"picMondCool", Mouth, 7, 12},
    {"picMondBoos", Mouth, 8, 11},       {"picMondVerward", Mouth, 8, 11},
    {"picMondVerdrietig", Mouth, 8, 11}, {"picMondVerrast", Mouth, 8, 11},
    {"picMondTwijvelend", Mouth, 8, 11}, {"picMondNerd", Mouth, 8, 11},
    {"picMondRits", Mouth, 8, 11},       {"picMondBozer", Mouth, 7, 12},
}};

// Decoded pictures, in the order of the table; a null image where the resource is missing
// or is not a picture of the expected size.
const std::vector<QImage>& decoded()
{
    static const std::vector<QImage> images = [] {
        std::vector<QImage> result;
        result.reserve(table.size());
        for (const Info& info : table) {
            QImage image(resourcePath(info.box));
            if (image.width() != faceSize || image.height() != info.height) {
                image = QImage();
            } else {
                image = image.convertToFormat(QImage::Format_RGB32);
            }
            result.push_back(std::move(image));
        }
        return result;
    }();
    return images;
}

} // namespace

std::span<const Info> all()
{
    return table;
}

const Info* find(std::string_view box)
{
    const auto it = std::find_if(table.begin(), table.end(),
                                 [box](const Info& info) { return info.box == box; });
    return it == table.end() ? nullptr : &*it;
}

QString toQString(std::string_view box)
{
    return QString::fromLatin1(box.data(), static_cast<qsizetype>(box.size()));
}

QString resourcePath(std::string_view box)
{
    return QStringLiteral(":/faces/") + toQString(box) + QStringLiteral(".bmp");
}

const QImage& picture(std::string_view box)
{
    const Info* info = find(box);
    if (info == nullptr) {
        throw FaceError(QStringLiteral("Onbekende afbeelding: %1.").arg(toQString(box)));
    }
    const QImage& image = decoded()[static_cast<std::size_t>(info - table.data())];
    if (image.isNull()) {
        throw FaceError(
            QStringLiteral("De afbeelding %1 ontbreekt in het programma of is beschadigd.")
                .arg(toQString(box)));
    }
    return image;
}

const QImage& blankFace()
{
    return picture(blankFaceName);
}

} // namespace FacePictures
