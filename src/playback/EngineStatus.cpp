#include "playback/EngineStatus.h"

QString EngineStatusText(int playState, int bufferPercent) {
    switch (playState) {
    case 1:
        return QStringLiteral("已停止");
    case 2:
        return QStringLiteral("已暂停");
    case 3:
        return QStringLiteral("正在播放");
    case 6:
        return QStringLiteral("正在缓冲 (%1%)").arg(qBound(0, bufferPercent, 100));
    case 8:
        return QStringLiteral("播放完毕");
    case 9:
        return QStringLiteral("正在连接...");
    case 10:
        return QStringLiteral("就绪");
    case 11:
        return QStringLiteral("正在重新连接...");
    default:
        return QString();
    }
}

QString EngineErrorStatusText() {
    return QStringLiteral("无法播放该媒体");
}
