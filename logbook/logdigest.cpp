#include "logbook/logdigest.h"

#include <QCryptographicHash>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define LOGDIGEST_SHA_EXTENSIONS 1
#endif

namespace {

#if defined(LOGDIGEST_SHA_EXTENSIONS)

// The platform's hash runs at under 200 MB/s, longer than reading and
// parsing the whole log; the processor's SHA instructions do it ten times
// faster. Without them the platform's hash stays.
bool hasShaInstructions() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    const bool ssse3 = c & bit_SSSE3;
    const bool sse41 = c & bit_SSE4_1;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return false;
    return ssse3 && sse41 && (b & bit_SHA);
}

alignas(16) constexpr std::uint32_t RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr size_t BlockSize = 64;

// Hashes whole 64-byte blocks into `state` (the words a to h).
__attribute__((target("sha,sse4.1,ssse3"))) void
hashBlocks(std::uint32_t state[8], const unsigned char* data, size_t blocks) {
    const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    // The instructions take the state as the words a, b, e, f and c, d, g, h.
    __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

    for (; blocks > 0; --blocks, data += BlockSize) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        // The message schedule, four words at a time in a ring of four.
        __m128i w[4];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            __m128i& words = w[g % 4];
            if (g < 4) {
                words = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), bigEndian);
            } else {
                const __m128i sum =
                    _mm_add_epi32(_mm_sha256msg1_epu32(words, w[(g + 1) % 4]),
                                  _mm_alignr_epi8(w[(g + 3) % 4], w[(g + 2) % 4], 4));
                words = _mm_sha256msg2_epu32(sum, w[(g + 3) % 4]);
            }
            const __m128i message = _mm_add_epi32(
                words, _mm_load_si128(reinterpret_cast<const __m128i*>(RoundConstants + 4 * g)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(message, 0x0E));
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    dcba = _mm_blend_epi16(feba, dchg, 0xF0);
    hgfe = _mm_alignr_epi8(dchg, feba, 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), dcba);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), hgfe);
}

QByteArray sha256WithShaInstructions(QByteArrayView bytes) {
    std::uint32_t state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = size_t(bytes.size());
    const size_t whole = size / BlockSize;
    hashBlocks(state, data, whole);

    // The rest, the 0x80 that ends the message and its length in bits, in
    // one block or two.
    std::array<unsigned char, 2 * BlockSize> tail{};
    const size_t rest = size % BlockSize;
    if (rest > 0)
        std::memcpy(tail.data(), data + whole * BlockSize, rest);
    tail[rest] = 0x80;
    const size_t tailBlocks = rest + 1 + 8 <= BlockSize ? 1 : 2;
    const std::uint64_t bits = std::uint64_t(size) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailBlocks * BlockSize - 1 - size_t(i)] = static_cast<unsigned char>(bits >> (8 * i));
    hashBlocks(state, tail.data(), tailBlocks);

    QByteArray digest(32, Qt::Uninitialized);
    for (int i = 0; i < 32; ++i)
        digest[i] = char(state[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

#endif

} // namespace

QString logDigest(QByteArrayView bytes) {
#if defined(LOGDIGEST_SHA_EXTENSIONS)
    static const bool fast = hasShaInstructions();
    if (fast)
        return QString::fromLatin1(sha256WithShaInstructions(bytes).toHex());
#endif
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
