#pragma once

#include <QString>

// The empty score "NullVls.Dat": the new score's content and the default colours. The user folder's
// copy (written by the colour dialog) comes before the shipped one.
namespace tunvale::notation {

inline const QString kTemplateFileName = QStringLiteral("NullVls.Dat");

// The template to read: the user folder's copy, else the data folder's; "" when neither exists.
QString TemplatePath();

// True for the template's path in either folder, whether or not the file exists there.
bool IsTemplatePath(const QString& path);

} // namespace tunvale::notation
