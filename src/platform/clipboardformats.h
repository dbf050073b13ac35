#pragma once

// Teaches the clipboard and drag and drop the formats other programs of this system look
// for. On Windows, PNG data (the face with its transparency) goes under the format name
// "PNG", which Windows programs paste, as well as under its MIME type, and the plain
// device-independent bitmap (CF_DIB) shows the face on white, while the one with alpha
// (CF_DIBV5) keeps its transparency. Elsewhere the MIME types are the system's own names and
// nothing needs doing. Call once, after the application object is made.
void registerClipboardFormats();
