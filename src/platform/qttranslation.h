#pragma once

// The program and the renderer speak Dutch whatever the system's language: Qt's own texts
// (the edit menu of a text box, the buttons of a message box, the command-line parser's
// messages and headings) come from Qt's Dutch translation, qtbase_nl, where that is installed
// (Debian: qt6-translations-l10n). Call once, after the application object is made; it lives
// as long as the application. Returns false when the translation is not installed, and Qt
// then speaks English.
bool installQtTranslation();
