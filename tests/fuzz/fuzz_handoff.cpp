// Fuzz target for the reader of the hand-off frames another instance sends.
// The first input byte chooses the piece size the rest is fed in, so that
// frames split at every possible place are tried as well as whole ones.
#include "net/HandOffFrame.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const qsizetype piece = qsizetype(data[0] % 16) + 1;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    HandOffFrame reader;
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        QByteArrayView chunk = bytes.sliced(offset, std::min(piece, bytes.size() - offset));
        offset += chunk.size();
        while (!chunk.isEmpty()) {
            const qsizetype taken = reader.Feed(chunk);
            if (taken < 0 || taken > chunk.size())
                std::abort();
            chunk = chunk.sliced(taken);
            switch (reader.Status()) {
            case HandOffFrame::State::Incomplete:
                if (!chunk.isEmpty())
                    std::abort(); // an unfinished frame takes everything offered
                break;
            case HandOffFrame::State::Complete:
                if (reader.Text().size() > HandOffFrame::kMaxPayload)
                    std::abort();
                (void)HandOffFrame::CommandLineOf(reader.Text());
                reader.Reset();
                break;
            case HandOffFrame::State::TooLarge:
                if (reader.DeclaredLength() <= HandOffFrame::kMaxPayload)
                    std::abort();
                return 0;
            case HandOffFrame::State::BadText:
                return 0;
            }
        }
    }
    return 0;
}
