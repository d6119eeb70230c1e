#pragma once
// The about box: the program's name and the version it was built as.

#include <QDialog>

namespace braille {

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    // "Tenkora, Version $VERSION$" with the version filled in.
    static QString versionText();
};

} // namespace braille
