#include "platform/desktop/file_dialog.h"

#include "platform/desktop/prompts.h"
#include "platform/settings/desktop_folder.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>

namespace tunvale::platform {

namespace {

// "*.vls" becomes "*.[vV][lL][sS]", so that A.VLS is listed beside a.vls.
QString caseInsensitivePattern(const QString& pattern)
{
    if (pattern == QStringLiteral("*.*"))
        return QStringLiteral("*");
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += u'[' + c.toLower() + c.toUpper() + u']';
        else
            out += c;
    }
    return out;
}

// Qt reads the patterns from the last parentheses of a filter, and HideNameFilterDetails shows the
// description without them, so the user sees the description as given.
QStringList qtFilters(const QStringList& pairs)
{
    QStringList out;
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : pairs[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << caseInsensitivePattern(p.trimmed());
        out << pairs[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

// Qt's sidebar shows a place under its folder's name, and names it so again whenever the folder's entry
// changes; two folders both called "vls" would differ only in their tooltips. The sidebar is kept wide
// enough for the names, whatever width Qt kept from an earlier dialog. A dialog without Qt's sidebar (a
// native one) is left as it is. The renaming lasts as long as the connection it gives.
QMetaObject::Connection nameSidebarPlaces(QFileDialog& dialog, const QList<FileDialogPlace>& places)
{
    auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
    QAbstractItemModel* model = sidebar ? sidebar->model() : nullptr;
    if (!model)
        return {};
    const auto name = [&dialog, model, places] {
        const QList<QUrl> urls = dialog.sidebarUrls(); // one a row, in the model's order
        for (int row = 0; row < model->rowCount() && row < urls.size(); ++row) {
            const QModelIndex index = model->index(row, 0);
            for (const FileDialogPlace& place : places) {
                if (QDir::cleanPath(urls[row].toLocalFile()) == QDir::cleanPath(place.folder)
                    && index.data().toString() != place.name)
                    model->setData(index, place.name);
            }
        }
    };
    name();
    sidebar->setMinimumWidth(sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth());
    return QObject::connect(model, &QAbstractItemModel::dataChanged, &dialog, name);
}

// The question before a save replaces a file.
QString ReplaceFileQuestion(const QString& path)
{
    return QStringLiteral("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName());
}

} // namespace

QString ShowFileDialog(const FileDialogRequest& request, bool isSave)
{
    const QString folder
        = request.initialFolder.isEmpty() ? GetSpecialFolder(CSIDL_DESKTOPDIRECTORY) : request.initialFolder;
    QFileDialog dialog(request.owner, request.title, folder);
    dialog.setAcceptMode(isSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(isSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // A native dialog may ask before the extension is added, about another file; we ask ourselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt keeps the places of the last file dialog of any program and offers them again: a dialog that
    // asks for none shows Qt's own (the computer and the home folder) instead.
    QList<QUrl> places;
    for (const FileDialogPlace& place : request.sidebarPlaces)
        places << QUrl::fromLocalFile(place.folder);
    if (places.isEmpty())
        places = { QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath()) };
    dialog.setSidebarUrls(places);
    // The renaming ends before the dialog is destroyed, so no change in its sidebar reaches it half gone.
    const QMetaObject::Connection naming = nameSidebarPlaces(dialog, request.sidebarPlaces);
    const auto stopNaming = qScopeGuard([&naming] { QObject::disconnect(naming); });
    const QStringList filters = qtFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }
    QString suffix = request.defaultExtension;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    // The proposed name is a score's first line; a "/" in it would name a folder.
    const QString proposed = request.fileName.trimmed().replace(u'/', u'_');
    if (!proposed.isEmpty())
        dialog.selectFile(QDir(folder).filePath(proposed));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return {};
        const QString chosen = dialog.selectedFiles().value(0).trimmed();
        if (!isSave || !QFileInfo::exists(chosen))
            return chosen;
        PromptRequest question;
        question.text = ReplaceFileQuestion(chosen);
        question.icon = PromptIcon::Warning;
        question.buttons = PromptButtons::YesNo;
        question.defaultAnswer = PromptAnswer::No;
        if (Prompts::current().ask(question) == PromptAnswer::Yes)
            return chosen;
        dialog.selectFile(chosen);
    }
}

} // namespace tunvale::platform
