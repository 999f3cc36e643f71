#include "app/drums/accompaniment_styles.h"

#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <algorithm>

namespace tunvale::drums {

namespace {

const QString kSection = QStringLiteral("伴奏类型");
// More styles than any file holds; a damaged count lists no more.
constexpr double kMostStyles = 1000;

} // namespace

AccompanimentStyles AccompanimentStyles::load()
{
    return AccompanimentStyles(platform::ProgramFolder::find(QStringLiteral("banzhou.ini")));
}

AccompanimentStyles::AccompanimentStyles(QString iniFile)
    : file_(std::move(iniFile))
{
}

QStringList AccompanimentStyles::names() const
{
    const double total = platform::RoundHalfEven(
        platform::Val(platform::ReadIniValue(kSection, QStringLiteral("TotalTypes"), file_)));
    QStringList names;
    for (int n = 1; n <= int(std::clamp(total, 0.0, kMostStyles)); ++n)
        names << name(n);
    return names;
}

QString AccompanimentStyles::name(int n) const
{
    return platform::ReadIniValue(kSection, QStringLiteral("Type%1Name").arg(n), file_);
}

int AccompanimentStyles::soundIndex(int n, int k) const
{
    const QString key = QStringLiteral("Type%1%2").arg(n).arg(k);
    const double index
        = platform::RoundHalfEven(platform::Val(platform::ReadIniValue(kSection, key, file_)) - 13);
    return index >= 0 && index <= 74 ? int(index) : -1;
}

} // namespace tunvale::drums
