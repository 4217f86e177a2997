#include "Materials.h"

#include "AnsiCase.h"

namespace hw {

QList<QByteArray> readMaterials(const IniFile& ini, const QByteArray& section)
{
    // Lines are built as key=value and merged by key, then cut down to their values.
    QList<QByteArray> lines;
    for (const QByteArray& key : ini.readSectionKeys(section)) {
        const QByteArray value = ini.readString(section, key, QByteArray());
        if (value.isEmpty())
            continue;
        QByteArray line = key + '=' + value;
        bool replaced = false;
        for (QByteArray& existing : lines) {
            const qsizetype eq = existing.indexOf('=');
            const QByteArrayView name
                = eq < 0 ? QByteArrayView(existing) : QByteArrayView(existing).first(eq);
            if (equalsIgnoringAnsiCase(name, key)) {
                existing = std::move(line);
                replaced = true;
                break;
            }
        }
        if (!replaced)
            lines.append(std::move(line));
    }
    for (QByteArray& line : lines)
        line.remove(0, line.indexOf('=') + 1); // only the first "=" splits
    return lines;
}

} // namespace hw
