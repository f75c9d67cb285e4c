#pragma once
class QApplication;

namespace quorrel {

// Creates the program's forms in order and runs the message loop.
int RunProgram(QApplication& app);

}  // namespace quorrel
