#pragma once

#include "savetarget.h"

#include <QStringList>

// The choices that follow from the system the program runs on, for the parts of the program
// that are the same everywhere: the core, the windows and the renderer ask here rather than
// decide for themselves. Each system answers in its own folder (posix/, windows/).
namespace Native {

// The rules that the names of this system's files follow.
SaveTarget::NameRules nameRules();

// How many files a pack writes at the same time, so that their waits for the disk overlap;
// 1 writes them one after another on the caller's thread.
int parallelWrites();

// True when a program that only draws images should ask Qt for its offscreen platform,
// rather than the session's window system, which may be missing or slow to reach.
bool drawsOffscreen();

// The font families of the windows' text, the first one the system has being used: the
// classic dialog font or what stands in for it here.
QStringList dialogFontFamilies();

} // namespace Native
