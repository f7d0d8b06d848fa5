#include "base/WriteErrorText.h"

#include <QDir>

#include "base/texts/StartupTexts.h"
#include "platform/Files.h"

namespace marlo {

QString writeErrorText() {
    // Read once: a later failure that notes nothing must not repeat this one's file.
    const WriteFailure failure = lastWriteFailure();
    clearWriteFailure();
    if (failure.path.isEmpty()) {
        return tr(texts::kWriteError);
    }
    return tr(texts::kWriteError) + QLatin1Char('\n') +
           tr(texts::kWriteErrorDetail).arg(QDir::toNativeSeparators(failure.path), failure.reason);
}

}  // namespace marlo
