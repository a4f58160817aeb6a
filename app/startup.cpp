#include "app/startup.h"

namespace launcher {

std::string ComposeCaption(std::string_view current, std::string_view title, ProgramVersion version,
                           std::string_view notice) {
    std::string caption;
    caption.append(current).append(title).append(" Edition Version ");
    caption.append(std::to_string(version.majorNumber)).push_back('.');
    caption.append(std::to_string(version.minorNumber)).push_back('.');
    caption.append(std::to_string(version.revision));
    caption.push_back(' ');
    caption.append(notice);
    return caption;
}

}  // namespace launcher
