// Kept in a file of its own so that programs without a user record (the command-line front
// end) do not link the configuration store and the network libraries behind it, which would
// cost every start of such a program.

#include "core/tasks/SavedOutputPath.h"

#include "core/common/Utils.h"
#include "core/user/AbstractUser.h"

namespace Converter {

std::wstring makeOutputPath(int zone, const std::wstring& input, const std::wstring& extension)
{
    AbstractUser* user = AbstractUser::current();
    if (!user)
        return {};
    return makeOutputPath(zone, input, extension, Utils::ansiToWide(user->getSavePath()));
}

} // namespace Converter
