// TocComposer: the combined table of contents of a book in several volumes. It asks for the
// folder that holds the volumes (BML files, taken in name order) and writes a new BML file there,
// "もくじ.bml", whose contents section lists every volume's headings with their pages. A volume
// whose file ends before the book does is an error: nothing is written, exit status 1 and one
// line on standard error (and a message box when the folder was chosen in the dialog).

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CellExport.h"
#include "CharacterDictionary.h"
#include "TableLoader.h"
#include "TableOfContents.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>

using namespace braille;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString caption = QStringLiteral("フォルダを選択し、目次を新規作成します");
    loadTables(CharacterDictionary::instance());
    const PageLayout layout = settingsPageLayout();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QFileDialog::getExistingDirectory(nullptr, caption);
    if (folder.isEmpty())
        return 0;
    std::vector<std::vector<Heading>> volumes;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.bml")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        if (name == QStringLiteral("もくじ.bml"))
            continue;
        BmlReader reader(QDir(folder).filePath(name).toStdU16String());
        if (!reader.isOpen())
            continue;
        BrailleDocument volume(BrailleDocument::ForReading);
        volume.cellsPerLine = layout.ColumnNumber;
        reader.readAll(volume);
        // Its headings would be those of a shorter book: the combined contents would be wrong.
        if (reader.endedEarly()) {
            const QString why = QStringLiteral("%1 は途中で終わっています（ファイルが切れています）。目次は作成しません。").arg(name);
            std::fprintf(stderr, "TocComposer: %s ends before the book does (cut short); nothing written\n",
                         QDir(folder).filePath(name).toLocal8Bit().constData());
            if (argc <= 1)
                QMessageBox::warning(nullptr, QStringLiteral("Tenkora"), why);
            return 1;
        }
        volumes.push_back(findHeadings(volume, layout));
    }
    if (volumes.empty()) {
        QMessageBox::information(nullptr, QStringLiteral("Tenkora"),
                                 QStringLiteral("BMLファイルがありません。\n%1").arg(folder));
        return 1;
    }
    BrailleDocument contents;
    contents.cellsPerLine = layout.ColumnNumber;
    composeCombinedContents(volumes, layout, contents);
    const QString target = QDir(folder).filePath(QStringLiteral("もくじ.bml"));
    const SaveResult saved = writeBml(contents, target.toStdU16String());
    if (!saved) {
        QMessageBox::warning(nullptr, QStringLiteral("Tenkora"), QString::fromStdString(saved.reason));
        return 1;
    }
    if (argc <= 1)
        QMessageBox::information(nullptr, QStringLiteral("Tenkora"),
                                 QStringLiteral("目次を作成しました。\n%1").arg(target));
    return 0;
}
