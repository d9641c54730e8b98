#include <activation/Com.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace activation {

bool SameGuid(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

ComError::ComError(long number, std::string source, std::string description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {
    if (m_description.empty()) m_description = StandardErrorText(m_number);
}

ComError ComError::Rethrown(const std::string& location, const std::string& description) const {
    return ComError(m_number, location + '\r' + m_source, description);
}

std::string StandardErrorText(long number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 6:
            return "Overflow";
        case 7:
            return "Out of memory";
        case 9:
            return "Subscript out of range";
        case 11:
            return "Division by zero";
        case 13:
            return "Type mismatch";
        case 52:
            return "Bad file name or number";
        case 53:
            return "File not found";
        case 57:
            return "Device I/O error";
        case 61:
            return "Disk full";
        case 70:
            return "Permission denied";
        case 75:
            return "Path/File access error";
        case 76:
            return "Path not found";
        case 91:
            return "Object variable or With block variable not set";
        case 380:
            return "Invalid property value";
        case 429:
            return "ActiveX component can't create object";
        case 430:
            return "Class does not support Automation or does not support expected interface";
        case 445:
            return "Object doesn't support this action";
        case 457:
            return "This key is already associated with an element of this collection";
        case 32755:
            return "Cancel was selected.";
        default:
            return {};
    }
}

long FileErrorNumber(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return 76;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return 70;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return 61;
        case EIO:
            return 57;
        case ENAMETOOLONG:
            return 52;
        default:
            return 75;
    }
}

}  // namespace activation
