#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString kAllFiles = QStringLiteral("All files (*)");

void StartIn(QFileDialog &dialog, const DialogStart &start)
{
    for (const QString &near : {start.currentFile, start.recentFile}) {
        if (near.isEmpty())
            continue;
        const QFileInfo file(near);
        if (file.absoluteDir().exists()) {
            dialog.setDirectory(file.absolutePath());
            return;
        }
    }
}

} // namespace

void PrepareOpenDialog(QFileDialog &dialog, const DialogStart &start)
{
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // XML under the names its uses give it; anything else (.conf, ...) is
    // one choice away under All files.
    dialog.setNameFilters({QStringLiteral("XML files (*.xml *.XML *.xsd *.xsl *.xslt *.svg *.xhtml *.rss *.atom "
                                          "*.wsdl *.kml *.gpx *.plist *.ui *.xul)"),
                           kAllFiles});
    StartIn(dialog, start);
}

void PrepareSaveDialog(QFileDialog &dialog, const DialogStart &start)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("XML File (*.XML *.xml)"), kAllFiles});
    dialog.setDefaultSuffix(QStringLiteral("XML"));
    StartIn(dialog, start);
    if (!start.currentFile.isEmpty())
        dialog.selectFile(QFileInfo(start.currentFile).fileName());
}

QString AskOpenPath(QWidget *owner, const DialogStart &start)
{
    QFileDialog dialog(owner);
    PrepareOpenDialog(dialog, start);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskSavePath(QWidget *owner, const DialogStart &start)
{
    QFileDialog dialog(owner);
    PrepareSaveDialog(dialog, start);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
