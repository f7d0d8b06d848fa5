#include "platform/media/ModuleEndings.h"

#include <libopenmpt/libopenmpt.hpp>

namespace marlo {

const QStringList& moduleFileEndings() {
    static const QStringList endings = [] {
        QStringList list;
        for (const std::string& extension : openmpt::get_supported_extensions()) {
            list.append(QLatin1Char('.') + QString::fromStdString(extension).toLower());
        }
        return list;
    }();
    return endings;
}

}  // namespace marlo
