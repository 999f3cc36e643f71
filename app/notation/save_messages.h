#pragma once

#include <QString>

namespace tunvale::notation {

// What the program says when it could not write a score file or one of its sections.
// What it says when the bytes it built would not read back as the score: nothing was written.
inline const QString kWriteUnverifiedMessage = QStringLiteral(
    "乐谱没有保存：写好的内容读回时与乐谱不符（鼓点名称或演唱顺序里有文件的标记字样）。原文件没有改动。");
inline const QString kWriteFailedMessage = QStringLiteral("没有成功，看看是不是其他应用打开了它，重试！");

} // namespace tunvale::notation
