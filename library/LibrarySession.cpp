#include "library/LibrarySession.h"

namespace marlo {

LibrarySession::LibrarySession(const QString& dataFolder, Prompts& prompts,
                               LibraryWriter::Clock clock)
    : paths(dataFolder),
      prompts(prompts),
      store(paths.store(), prompts),
      writer(store, prompts, std::move(clock)) {}

}  // namespace marlo
