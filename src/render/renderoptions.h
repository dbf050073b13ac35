#pragma once

#include "imageencoding.h"

#include <QString>
#include <QStringList>

// What snoetjesmal-render is asked to do, read from its command line.

namespace ExitStatus {
inline constexpr int success = 0;
inline constexpr int writeFailed = 1; // the picture could not be made or written
inline constexpr int usage = 2;       // the command line asks for something that cannot be done
} // namespace ExitStatus

struct RenderOptions
{
    enum class Task
    {
        Face,   // one face
        Sheet,  // every combination of eyes and mouth
        Styles, // every single style, eyes over the blank mouth and mouths under blank eyes
        Pack,   // every face as a file of its own in a new folder, with an index
        List,   // the two style catalogues as text
        Help,
        Version,
    };

    Task task = Task::Face;
    int eyes = 0;
    int mouth = 0;
    bool random = false;      // eyes and mouth are drawn when the face is made
    int scale = 1;            // every face pixel becomes a scale x scale block
    int fit = 0;              // side of the square the face is fitted into; 0: no fitting
    bool transparent = false; // the white around the face becomes transparent
    bool eyesLast = false;    // the eyes are drawn after the mouth and so own row 11
    bool force = false;       // a pack may replace an earlier pack of the same name
    QString output;           // the file, or for a pack the folder
    ImageFormat format = ImageFormat::Png;
};

struct ParsedCommandLine
{
    RenderOptions options;
    int status = ExitStatus::success; // ExitStatus::usage when the command line is wrong
    QString message;                  // then: what is wrong, a Dutch sentence

    bool ok() const { return status == ExitStatus::success; }
};

namespace RenderLimits {
inline constexpr int maximumScale = 64;
inline constexpr int maximumSheetScale = 16; // a sheet holds 336 faces
inline constexpr int defaultSheetScale = 4;
inline constexpr int defaultStylesScale = 8;
} // namespace RenderLimits

// Reads a command line; the first argument is the program. Never exits the program.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// The text of --help and --version.
QString helpText();
QString versionText();
