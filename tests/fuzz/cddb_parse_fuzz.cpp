// CD database replies: entries, match lists and the text helpers that cut them.
#include "cd/CdBase.h"
#include "cd/CddbEntry.h"
#include "cd/CddbText.h"
#include "platform/TextCodec.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/ScriptedPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlo;
    fuzz::ensureApplication();
    static test::ScriptedPrompts prompts;
    static CdBase base(prompts);
    const QString reply = decodeText(fuzz::bytes(data, size));
    CddbEntry entry;
    parseEntry(reply, entry);
    entry.summary();
    decodeCloseMatches(reply);
    base.closeMatchDecode(reply);
    parseExactMatch(reply);
    replyCode(reply);
    QString text = reply;
    pullData(text, QStringLiteral("DTITLE="));
    pullData(text, QStringLiteral("TTITLE0="));
    newLineFix(removeTopLine(reply));
    splitDiscTitle(reply);
    trimLeftChar(reply, reply.left(1));
    trimRightChar(reply, reply.right(1));
    prompts.shown.clear();
    return 0;
}
