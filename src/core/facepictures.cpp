#include "facepictures.h"

#include "faceerror.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <mutex>

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

// A picture as the program carries it, read as the BMP it is by Qt's built-in reader: the
// format is named and never guessed, so no image plugin is asked or loaded. A null image when
// the resource is missing or is not a picture of the expected size.
QImage decode(const Info& info)
{
    // A resource that cannot be opened is a missing picture: the reader is not asked (it
    // would warn, and a warning is one more allocation when memory is short).
    QFile file(resourcePath(info.box));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.width() != faceSize || image.height() != info.height) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Each picture is decoded the first time it is drawn, and kept: starting the program needs
// only the blank face. A decoding that failed (short of memory, say) is tried again next
// time, and one that throws leaves nothing half done. (Not std::call_once: with libstdc++ an
// exception out of its function can end the program.)
const QImage& decoded(std::size_t index)
{
    static std::mutex mutex;
    static std::array<QImage, table.size()> images;
    const std::lock_guard lock(mutex);
    if (images[index].isNull()) {
        images[index] = decode(table[index]);
    }
    return images[index];
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
        throw FaceError(FaceError::Problem::Unknown, box);
    }
    const QImage& image = decoded(static_cast<std::size_t>(info - table.data()));
    if (image.isNull()) {
        throw FaceError(FaceError::Problem::Unreadable, box);
    }
    return image;
}

const QImage& blankFace()
{
    return picture(blankFaceName);
}

} // namespace FacePictures
