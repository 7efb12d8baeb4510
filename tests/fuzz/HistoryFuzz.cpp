// BinaryFile and the script console's history loader on any bytes: the
// history holds at most one entry per four bytes of payload, each at most
// 4096 bytes long.

#include "FuzzSupport.h"

#include "framework/BinaryFile.h"
#include "framework/gui/ScriptConsole.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::enterScratchDir();
    fuzz::restartLog();
    fuzz::writeInput("history.dat", data, size);

    orv::ScriptConsole console;
    console.loadHistory("history.dat");
    FUZZ_CHECK(console.history().size() <= size / 4, "more entries than the file can hold");
    for (const std::string& entry : console.history())
        FUZZ_CHECK(entry.size() <= static_cast<std::size_t>(orv::BinaryFile::maxStringLength), "entry too long");

    // The raw reader past the header, as any other user of the format would.
    orv::BinaryFile file;
    if (file.openRead("history.dat")) {
        (void)file.readHeader(orv::ScriptConsole::historyId);
        for (int i = 0; i < 64 && file.remaining() > 0; ++i) {
            std::int32_t value = 0;
            if (i % 3 == 0)
                (void)file.readInt32(value);
            else
                FUZZ_CHECK(file.readOldStdString().size() <= 4096u, "string too long");
            FUZZ_CHECK(file.remaining() >= 0, "read past the end");
        }
    }
    return 0;
}
