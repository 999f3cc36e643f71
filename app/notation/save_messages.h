#pragma once

#include <QString>

namespace tunvale::notation {

// What the program says when it could not write a score file or one of its sections.
inline const QString kWriteFailedMessage = QStringLiteral("没有成功，看看是不是其他应用打开了它，重试！");

} // namespace tunvale::notation
