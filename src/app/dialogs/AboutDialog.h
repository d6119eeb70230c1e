#pragma once
// The about box: the program's name, the version it was built as, what it is, and the licences of
// the libraries and data it uses.

#include <QDialog>

namespace braille {

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    // "Tenkora, Version $VERSION$" with the version filled in.
    static QString versionText();
    // The libraries and data used, each with its licence.
    static QString licencesText();
};

} // namespace braille
