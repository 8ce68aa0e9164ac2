// How often a block of random bytes of exactly a Yaesu status block's length is believed as
// a reply: line noise, a wrong speed or another device on the port. Prints the share of
// blocks taken, per radio type. Usage: bench_yaesu_noise [blocks per type, default 10000000]
#include "radio_control/radio_types.h"
#include "radio_control/reply_parsers.h"

#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv)
{
    using namespace varnel;
    const long blocks = argc > 1 ? std::atol(argv[1]) : 10000000;
    const struct {
        const char* name;
        int code;
        int length;
    } types[] = {
        {"FT-1000D", YaesuFT1000D, 16},
        {"FT-1000MP", YaesuFT1000MP, 16},
        {"FT-990", YaesuFT990, 32},
        {"FT-847", YaesuFT847, 5},
    };
    std::mt19937_64 random(20261209);
    std::printf("%-10s %6s %12s %10s %14s\n", "type", "bytes", "blocks", "taken", "share");
    for (const auto& t : types) {
        QByteArray block(t.length, '\0');
        long taken = 0;
        for (long n = 0; n < blocks; ++n) {
            for (char& c : block)
                c = static_cast<char>(random() & 0xFF);
            if (parseReply(t.code, block).kind == ParseResult::Taken)
                ++taken;
        }
        std::printf("%-10s %6d %12ld %10ld %13.5f%%\n", t.name, t.length, blocks, taken,
                    100.0 * double(taken) / double(blocks));
    }
    return 0;
}
