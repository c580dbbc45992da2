#pragma once

class QWidget;

/// The platform's print dialog for the current printer: the user chooses a
/// printer and its settings. True when confirmed; the chosen printer is then
/// current (Printer()). A fresh dialog every time, which starts from the
/// printer, paper and orientation chosen the time before.
bool RunPrintDialog(QWidget* Parent);
