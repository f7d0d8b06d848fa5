#pragma once

#include <QStringList>

namespace marlo {

// The file endings of every module format libopenmpt plays, lower case with the dot (".xm"),
// as the library reports them; read once.
const QStringList& moduleFileEndings();

}  // namespace marlo
