#include "linesplitter.h"

QList<LineSplitter::Line> LineSplitter::feed(QByteArrayView data)
{
    QList<Line> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype newline = data.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? data.size() : newline;
        if (Skipping) {
            if (newline >= 0)
                Skipping = false;
        } else {
            // Keep at most one byte beyond the limit: enough to notice it.
            const qsizetype room = MaxLine + 1 - Pending.size();
            Pending.append(data.sliced(pos, qMin(end - pos, room)));
            if (Pending.size() > MaxLine) {
                Pending.truncate(MaxLine);
                lines.append({Pending, true});
                Pending.clear();
                Skipping = newline < 0;
            } else if (newline >= 0) {
                if (Pending.endsWith('\r'))
                    Pending.chop(1);
                lines.append({Pending, false});
                Pending.clear();
            }
        }
        if (newline < 0)
            break;
        pos = newline + 1;
    }
    return lines;
}
