#pragma once
// The application: loads the character tables and the cell font before any window exists,
// reads the settings and the command line, shows the main window and opens the document named
// on the command line.

#include "CommandLine.h"

#include <QApplication>

#include <memory>

namespace braille {

class MainWindow;

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // The start-up sequence; false when the program cannot run (the message was shown).
    bool initInstance();
    MainWindow* mainFrame() const { return m_frame.get(); }
    const CommandLine& commandLine() const { return m_commandLine; }

private:
    CommandLine m_commandLine;
    std::unique_ptr<MainWindow> m_frame;
};

// Loads the shipped tables (paths::tableFolder); false (and why) when they are missing.
bool loadShippedTables(QString& why);
// Makes the generated cell font known to Qt.
void loadCellFont();

} // namespace braille
