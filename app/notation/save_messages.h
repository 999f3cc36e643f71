#pragma once

#include <QString>

namespace tunvale::notation {

// What the program says when it could not write a score file or one of its sections.
// What it says when the bytes it built would not read back as the score: nothing was written.
inline const QString kWriteUnverifiedMessage = QStringLiteral(
    "乐谱没有保存：写好的内容读回时与乐谱不符（鼓点名称或演唱顺序里有文件的标记字样）。原文件没有改动。");
inline const QString kWriteFailedMessage = QStringLiteral("没有成功，看看是不是其他应用打开了它，重试！");
// What it says when the file would be larger than a score file may be (kMaxScoreFileBytes), which the
// program would refuse to open: nothing was written.
inline const QString kWriteTooLargeMessage
    = QStringLiteral("乐谱没有保存：存成的文件会超过 4 MB，这么大的乐谱文件无法再打开。原文件没有改动。");

} // namespace tunvale::notation
