#pragma once

class QCoreApplication;
class QTranslator;

namespace tunvale::platform {

// Installs Qt's own Simplified Chinese texts (the buttons of file dialogs and message boxes) from Qt's
// translations folder, so Qt's dialogs speak the window's language. The translator belongs to `app`;
// none when the file is missing: the program then goes on with Qt's English texts.
QTranslator* installQtTranslation(QCoreApplication& app);

} // namespace tunvale::platform
