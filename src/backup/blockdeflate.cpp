#include "backup/blockdeflate.h"

#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <deque>
#include <future>
#include <thread>
#include <zlib.h>

namespace lumkar {

namespace {

struct PackedBlock {
    QByteArray data;
    quint32 crc = 0;
    qint64 size = 0;
    bool ok = false;
};

// Packs one block as a piece of a raw deflate stream: primed with the data before it, ended
// with a sync flush (a byte boundary), or with the stream's end for the last block.
PackedBlock packBlock(const QByteArray &block, const QByteArray &dictionary, bool last, int level)
{
    PackedBlock out;
    out.size = block.size();
    out.crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size())));
    z_stream stream {};
    if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return out;
    if (!dictionary.isEmpty())
        deflateSetDictionary(&stream, reinterpret_cast<const Bytef *>(dictionary.constData()),
            uInt(dictionary.size()));
    // Room for the worst case and the flush marker; grown should zlib still ask for more.
    out.data.resize(qsizetype(deflateBound(&stream, uLong(block.size()))) + 64);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(block.constData()));
    stream.avail_in = uInt(block.size());
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    int rc = Z_OK;
    while (true) {
        stream.next_out = reinterpret_cast<Bytef *>(out.data.data()) + stream.total_out;
        stream.avail_out = uInt(out.data.size() - qsizetype(stream.total_out));
        rc = deflate(&stream, flush);
        const bool done = last ? rc == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out > 0;
        if (done || (rc != Z_OK && rc != Z_BUF_ERROR))
            break;
        out.data.resize(out.data.size() * 2);
    }
    out.ok = last ? rc == Z_STREAM_END : rc == Z_OK;
    out.data.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Reads up to one block; an empty result at the end, false on a read failure.
bool readBlock(QIODevice &from, QByteArray &block)
{
    block.resize(kBlockSize);
    qint64 filled = 0;
    while (filled < kBlockSize) {
        const qint64 length = from.read(block.data() + filled, kBlockSize - filled);
        if (length < 0)
            return false;
        if (length == 0)
            break;
        filled += length;
    }
    block.resize(filled);
    return true;
}

} // namespace

DataPass deflateInBlocks(
    QIODevice &from, QIODevice &to, int level, const BlockStep &step, QVector<BlockMark> *marks)
{
    if (marks)
        marks->clear();
    DataPass pass;
    const int workers = int(std::max(2u, std::thread::hardware_concurrency()));
    std::deque<std::future<PackedBlock>> running;
    // Writes the oldest packed block; false when the work is to end.
    auto writeOldest = [&] {
        const PackedBlock packed = running.front().get();
        running.pop_front();
        if (!packed.ok) {
            pass.damaged = true;
            return false;
        }
        if (to.write(packed.data) != packed.data.size()) {
            pass.writeFailed = true;
            return false;
        }
        pass.crc = quint32(crc32_combine(pass.crc, packed.crc, packed.size));
        pass.size += quint64(packed.size);
        if (marks)
            marks->append({ quint64(packed.data.size()), quint64(packed.size), packed.crc });
        if (step && !step(pass.size)) {
            pass.stopped = true;
            return false;
        }
        return true;
    };

    QByteArray block;
    if (!readBlock(from, block)) {
        pass.readFailed = true;
        return pass;
    }
    QByteArray dictionary;
    bool going = true;
    while (going) {
        QByteArray next;
        if (!readBlock(from, next)) {
            pass.readFailed = true;
            break;
        }
        const bool last = next.isEmpty();
        running.push_back(
            std::async(std::launch::async, packBlock, block, dictionary, last, level));
        dictionary = block.right(kDictionarySize);
        block = std::move(next);
        while (going && qsizetype(running.size()) >= (last ? 1 : 2 * workers))
            going = writeOldest();
        if (last)
            break;
    }
    // Blocks still packing when the work stopped are waited for and dropped.
    for (auto &pending : running)
        pending.wait();
    return pass;
}

DataPass inflateBlocks(
    QIODevice &packed, QIODevice &plain, const QVector<BlockMark> &marks, const BlockStep &step)
{
    DataPass pass;
    const int workers = int(std::max(2u, std::thread::hardware_concurrency()));
    std::deque<std::future<bool>> running;
    std::deque<const BlockMark *> waiting;
    auto takeOldest = [&] {
        const bool sound = running.front().get();
        const BlockMark *mark = waiting.front();
        running.pop_front();
        waiting.pop_front();
        if (!sound) {
            pass.damaged = true;
            return false;
        }
        pass.crc = quint32(crc32_combine(pass.crc, mark->crc, qint64(mark->plainSize)));
        pass.size += mark->plainSize;
        if (step && !step(pass.size)) {
            pass.stopped = true;
            return false;
        }
        return true;
    };
    bool going = true;
    quint64 plainAt = 0;
    for (qsizetype i = 0; going && i < marks.size(); ++i) {
        const BlockMark &mark = marks.at(i);
        QByteArray piece(qsizetype(mark.packedSize), Qt::Uninitialized);
        if (packed.read(piece.data(), piece.size()) != piece.size()) {
            pass.readFailed = true;
            break;
        }
        QByteArray dictionary;
        if (plainAt > 0) {
            const quint64 length = std::min<quint64>(plainAt, kDictionarySize);
            if (!plain.seek(qint64(plainAt - length))) {
                pass.readFailed = true;
                break;
            }
            dictionary = plain.read(qint64(length));
            if (quint64(dictionary.size()) != length) {
                pass.readFailed = true;
                break;
            }
        }
        plainAt += mark.plainSize;
        const bool last = i + 1 == marks.size();
        running.push_back(std::async(std::launch::async,
            [piece = std::move(piece), dictionary = std::move(dictionary), mark, last] {
                z_stream stream {};
                if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                    return false;
                if (!dictionary.isEmpty())
                    inflateSetDictionary(&stream,
                        reinterpret_cast<const Bytef *>(dictionary.constData()),
                        uInt(dictionary.size()));
                // One byte more than the block holds, so that a block giving too much shows.
                QByteArray out(qsizetype(mark.plainSize) + 1, Qt::Uninitialized);
                stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.constData()));
                stream.avail_in = uInt(piece.size());
                stream.next_out = reinterpret_cast<Bytef *>(out.data());
                stream.avail_out = uInt(out.size());
                const int rc = inflate(&stream, Z_SYNC_FLUSH);
                const quint64 produced = quint64(out.size()) - stream.avail_out;
                const bool ended = last ? rc == Z_STREAM_END : rc == Z_OK || rc == Z_BUF_ERROR;
                const bool sound = ended && stream.avail_in == 0 && produced == mark.plainSize
                    && quint32(crc32(
                           0, reinterpret_cast<const Bytef *>(out.constData()), uInt(produced)))
                        == mark.crc;
                inflateEnd(&stream);
                return sound;
            }));
        waiting.push_back(&mark);
        while (going && qsizetype(running.size()) >= (last ? 1 : 2 * workers))
            going = takeOldest();
    }
    for (auto &pending : running)
        pending.wait();
    return pass;
}

DataPass inflateStream(QIODevice &from, QIODevice *to, const BlockStep &step, quint64 limit)
{
    DataPass pass;
    z_stream stream {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        pass.damaged = true;
        return pass;
    }
    QByteArray input(256 << 10, Qt::Uninitialized);
    QByteArray output(kBlockSize, Qt::Uninitialized);
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        const qint64 length = from.read(input.data(), input.size());
        if (length < 0) {
            pass.readFailed = true;
            break;
        }
        if (length == 0) {
            pass.damaged = true; // the stream ends before its last block
            break;
        }
        stream.next_in = reinterpret_cast<Bytef *>(input.data());
        stream.avail_in = uInt(length);
        do {
            stream.next_out = reinterpret_cast<Bytef *>(output.data());
            stream.avail_out = uInt(output.size());
            rc = inflate(&stream, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                pass.damaged = true;
                break;
            }
            const qint64 produced = output.size() - qint64(stream.avail_out);
            if (quint64(produced) > limit - pass.size) {
                pass.tooLarge = true;
                break;
            }
            pass.crc = quint32(crc32(
                pass.crc, reinterpret_cast<const Bytef *>(output.constData()), uInt(produced)));
            pass.size += quint64(produced);
            if (to && to->write(output.constData(), produced) != produced) {
                pass.writeFailed = true;
                break;
            }
            // A full output buffer may leave more waiting inside zlib.
        } while (rc != Z_STREAM_END && (stream.avail_in > 0 || stream.avail_out == 0));
        if (!pass.ok())
            break;
        if (step && !step(pass.size)) {
            pass.stopped = true;
            break;
        }
    }
    inflateEnd(&stream);
    return pass;
}

DataPass copyStream(QIODevice &from, QIODevice *to, const BlockStep &step, quint64 limit)
{
    DataPass pass;
    QByteArray block;
    while (true) {
        if (!readBlock(from, block)) {
            pass.readFailed = true;
            break;
        }
        if (block.isEmpty())
            break;
        if (quint64(block.size()) > limit - pass.size) {
            pass.tooLarge = true;
            break;
        }
        pass.crc = quint32(crc32(
            pass.crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size())));
        pass.size += quint64(block.size());
        if (to && to->write(block) != block.size()) {
            pass.writeFailed = true;
            break;
        }
        if (step && !step(pass.size)) {
            pass.stopped = true;
            break;
        }
    }
    return pass;
}

} // namespace lumkar
