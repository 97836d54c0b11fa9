#pragma once
// Deflate on every core. The data is cut into blocks of 1 MiB; each block is packed on a
// thread of its own at the given level, with the 32 KiB before it as its dictionary, and
// ends on a byte boundary, so that the packed blocks in their order form one raw deflate
// stream: the data of a zip entry. And the way back: a raw deflate stream inflated, with the
// size and CRC-32 of what came out.

#include <QVector>
#include <QtGlobal>
#include <functional>

class QIODevice;

namespace lumkar {

// Runs on the calling thread after each block with the bytes of data done so far; false
// stops the work.
using BlockStep = std::function<bool(quint64 done)>;

// The outcome of a pass over data: how much, its CRC-32, and what went wrong.
struct DataPass {
    quint64 size = 0; // bytes of plain data
    quint32 crc = 0; // CRC-32 of the plain data
    bool stopped = false; // the step asked to stop
    bool readFailed = false;
    bool writeFailed = false;
    bool damaged = false; // inflating: the stream is not valid deflate or ends early
    bool tooLarge = false; // more data came than the limit allows; the rest was not written
    bool ok() const { return !stopped && !readFailed && !writeFailed && !damaged && !tooLarge; }
};

// The bytes of a block and of a dictionary.
inline constexpr qint64 kBlockSize = 1 << 20;
inline constexpr qint64 kDictionarySize = 32 << 10;

// Where a block lies in a packed stream, how much it holds and its CRC-32.
struct BlockMark {
    quint64 packedSize = 0;
    quint64 plainSize = 0;
    quint32 crc = 0;
};

// Reads `from` to its end and writes one raw deflate stream of it at `level` into `to`; the
// blocks' marks go into `marks` when given.
DataPass deflateInBlocks(QIODevice &from, QIODevice &to, int level, const BlockStep &step = {},
    QVector<BlockMark> *marks = nullptr);

// Checks a stream written by deflateInBlocks on every core: each block is inflated on its own,
// with the 32 KiB of `plain` (the data that was packed) before it as its dictionary, and must
// give as many bytes as its mark says with the mark's CRC-32; the last block must end the
// stream. As every block gives what was packed, the whole stream does. Nothing is written.
DataPass inflateBlocks(QIODevice &packed, QIODevice &plain, const QVector<BlockMark> &marks,
    const BlockStep &step = {});

// No limit to the data of a pass.
inline constexpr quint64 kNoLimit = ~quint64(0);

// Reads a raw deflate stream from `from` and writes what it holds into `to` (when given). It
// stops with tooLarge as soon as the stream gives more than `limit` bytes, before writing any
// byte past it.
DataPass inflateStream(
    QIODevice &from, QIODevice *to, const BlockStep &step = {}, quint64 limit = kNoLimit);

// Copies `from` to its end into `to` (when given), with the size and CRC-32 of the data; it
// stops as inflateStream does past `limit`.
DataPass copyStream(
    QIODevice &from, QIODevice *to, const BlockStep &step = {}, quint64 limit = kNoLimit);

} // namespace lumkar
