#pragma once

class QTranslator;

namespace ChineseInterface {

// Makes the operator's language Chinese whatever the session's locale, Qt's own
// texts included: the buttons of message boxes, the file dialogs of export and
// import, the calendar's months and days. Loads Qt's texts into `qtTexts`, which
// must live as long as the application, from the installed host's share folder
// or else from Qt's.
void install(QTranslator &qtTexts);

} // namespace ChineseInterface
