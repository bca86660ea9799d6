// Replies of the service as the main window's action reads them: any body for any request.
// No reply may throw out of the action or end the program.

#include "FuzzInput.h"
#include "OfflineUser.h"
#include "core/actions/Action.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Follow-up requests the action starts are dropped, never sent.
    keptOfflineUser("replies");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    // The requests whose replies are JSON (the downloads save files instead).
    const int request = input.byte() % (RequestId::UpgradeSilent + 1);
    const bool succeeded = input.byte() % 8 != 0;
    Network::Reply reply;
    reply.body = input.rest();
    reply.succeeded = succeeded;
    reply.requestId = request;
    reply.url = Network::URL("127.0.0.1:1", "/index.php", {});
    const auto action = std::make_shared<Action>(7);
    action->OnReply(reply);
    return 0;
}
