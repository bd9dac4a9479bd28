// How the print command asks the user for a printer: the program opens the print
// dialog, tests choose a printer or a cancel without a window.
#pragma once

class QPrinter;

namespace voltra {

class PrintDialogProvider {
public:
    virtual ~PrintDialogProvider() = default;
    // Lets the user set up `printer`; false when the choice was cancelled.
    virtual bool Choose(QPrinter& printer) = 0;
};

}  // namespace voltra
