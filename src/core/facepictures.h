#pragma once

#include <QImage>

#include <span>
#include <string_view>

// The 38 small pictures every face is made of, carried inside the program as resources and
// known by the names of the picture boxes that hold them ("picOogStandaard", "picMondBlij", …).
namespace FacePictures {

enum class Kind
{
    Blank,
    Eyes,
    Mouth,
};

struct Info
{
    std::string_view box; // the box name, spelt exactly as the window has it
    Kind kind;
    int height;  // rows of the picture; every picture is 19 pixels wide
    int faceRow; // the row of the blank face the picture's top row was cut from
};

inline constexpr int faceSize = 19;
inline constexpr std::string_view blankFaceName = "BlankFace";

// All pictures: the blank face first, then the eye strips, then the mouth strips.
std::span<const Info> all();

// The info of one picture, or nullptr for a name that is not one of ours.
const Info* find(std::string_view box);

// The picture of a box as a 19-pixel-wide RGB32 image, decoded once and kept.
// Throws FaceError when the program does not carry it.
const QImage& picture(std::string_view box);

// The blank face, 19 x 19: a yellow disc on white without eyes or mouth.
const QImage& blankFace();

// A box name as text for messages and file names.
QString toQString(std::string_view box);

// The resource path a picture is carried under.
QString resourcePath(std::string_view box);

} // namespace FacePictures
