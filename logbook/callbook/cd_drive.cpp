#include "logbook/callbook/cd_drive.h"

#include <QFile>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// The mount table writes blanks, tabs, new lines and backslashes in names as \ooo.
std::string unescapeMountField(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                out += char(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

} // namespace

QString FindCDDrive(const QString& mountsFile)
{
    std::ifstream in(QFile::encodeName(mountsFile).toStdString());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type))
            continue;
        bool optical = type == "iso9660" || type == "udf" || device.rfind("/dev/sr", 0) == 0;
        if (optical)
            return QString::fromLocal8Bit(unescapeMountField(mountPoint));
    }
    return QStringLiteral("None");
}
