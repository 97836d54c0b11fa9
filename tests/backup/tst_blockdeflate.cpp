// Packing on every core: the blocks in their order are one raw deflate stream that any
// inflater reads back whole, whatever the size of the data against the block and the
// dictionary; a stop ends the work; a damaged or cut stream is found out.

#include "testregistry.h"

#include "backup/blockdeflate.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <zlib.h>

using namespace lumkar;

namespace {

// Data that packs like a database: runs of repeated text among random bytes.
QByteArray sampleData(qint64 size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray out;
    out.reserve(size);
    const QByteArray words[]
        = { "Ayşe Yılmaz ", "Kadıköy İstanbul ", "Cilt Bakımı 10 Seans ", QByteArray(300, '\0') };
    while (out.size() < size) {
        if (random.bounded(4) == 0)
            for (int i = random.bounded(64); i > 0; --i)
                out.append(char(random.bounded(256)));
        else
            out.append(words[random.bounded(4)]);
    }
    out.truncate(size);
    return out;
}

// Inflates a raw deflate stream with zlib alone, as an archive reader would; a null array
// when the stream is not complete and valid.
QByteArray inflatedByZlib(const QByteArray &packed)
{
    z_stream stream {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return {};
    QByteArray out;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
        stream.avail_out = uInt(buffer.size());
        rc = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer.constData(), buffer.size() - qsizetype(stream.avail_out));
    }
    inflateEnd(&stream);
    if (rc != Z_STREAM_END || stream.avail_in != 0)
        return {};
    if (out.isNull())
        out = QByteArray("");
    return out;
}

quint32 crcOf(const QByteArray &data)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

DataPass pack(const QByteArray &data, QByteArray &packed, const BlockStep &step = {},
    QVector<BlockMark> *marks = nullptr)
{
    QBuffer from;
    from.setData(data);
    from.open(QIODevice::ReadOnly);
    QBuffer to(&packed);
    to.open(QIODevice::WriteOnly);
    return deflateInBlocks(from, to, 9, step, marks);
}

DataPass checkBlocks(
    const QByteArray &packed, const QByteArray &plain, const QVector<BlockMark> &marks)
{
    QBuffer packedDevice;
    packedDevice.setData(packed);
    packedDevice.open(QIODevice::ReadOnly);
    QBuffer plainDevice;
    plainDevice.setData(plain);
    plainDevice.open(QIODevice::ReadOnly);
    return inflateBlocks(packedDevice, plainDevice, marks);
}

} // namespace

class BlockDeflateTest : public QObject {
    Q_OBJECT

private slots:
    void packedBlocksAreOneStream_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::newRow("nothing") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("less than a dictionary") << kDictionarySize - 1;
        QTest::newRow("exactly one block") << kBlockSize;
        QTest::newRow("one block and a byte") << kBlockSize + 1;
        QTest::newRow("many blocks, the last one short") << 5 * kBlockSize + 12345;
    }

    void packedBlocksAreOneStream()
    {
        QFETCH(qint64, size);
        const QByteArray data = sampleData(size, quint32(size) + 7);
        QByteArray packed;
        const DataPass pass = pack(data, packed);
        QVERIFY(pass.ok());
        QCOMPARE(pass.size, quint64(size));
        QCOMPARE(pass.crc, crcOf(data));
        QCOMPARE(inflatedByZlib(packed), data);
        if (size > kBlockSize) // the repeated text packs: the blocks see the data before them
            QVERIFY2(packed.size() < data.size() / 2, qPrintable(QString::number(packed.size())));

        // And back through the program's own inflater.
        QBuffer in(&packed);
        in.open(QIODevice::ReadOnly);
        QByteArray unpacked;
        QBuffer out(&unpacked);
        out.open(QIODevice::WriteOnly);
        const DataPass back = inflateStream(in, &out);
        QVERIFY(back.ok());
        QCOMPARE(back.size, quint64(size));
        QCOMPARE(back.crc, crcOf(data));
        QCOMPARE(unpacked, data);
    }

    void aStopEndsThePackingAndTheReportsRiseToTheEnd()
    {
        const QByteArray data = sampleData(6 * kBlockSize, 3);
        QVector<quint64> seen;
        QByteArray packed;
        const DataPass whole = pack(data, packed, [&](quint64 done) {
            seen << done;
            return true;
        });
        QVERIFY(whole.ok());
        QCOMPARE(seen.size(), 6);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QCOMPARE(seen.last(), quint64(data.size()));

        packed.clear();
        int steps = 0;
        const DataPass stopped = pack(data, packed, [&](quint64) { return ++steps < 2; });
        QVERIFY(stopped.stopped);
        QVERIFY(!stopped.ok());
        QCOMPARE(steps, 2);
        QVERIFY(stopped.size < quint64(data.size()));
    }

    void damagedOrCutStreamsAreFoundOut_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::newRow("cut in the middle") << true;
        QTest::newRow("bytes changed") << false;
    }

    void damagedOrCutStreamsAreFoundOut()
    {
        QFETCH(bool, cut);
        const QByteArray data = sampleData(2 * kBlockSize, 11);
        QByteArray packed;
        QVERIFY(pack(data, packed).ok());
        if (cut) {
            packed.truncate(packed.size() / 2);
        } else {
            for (qsizetype i = packed.size() / 3; i < packed.size() / 3 + 16; ++i)
                packed[i] = char(packed[i] ^ 0xa5);
        }
        QBuffer in(&packed);
        in.open(QIODevice::ReadOnly);
        const DataPass back = inflateStream(in, nullptr);
        // A cut or broken stream fails, or (rarely, for changed bytes that still decode)
        // gives other data, which its checksum shows.
        QVERIFY(!back.ok() || back.crc != crcOf(data) || back.size != quint64(data.size()));
        if (cut)
            QVERIFY(back.damaged);
    }

    void blocksAreCheckedSideBySide_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("sound") << "";
        QTest::newRow("a byte changed in the third block") << "byte";
        QTest::newRow("the data packed is not the data beside") << "plain";
        QTest::newRow("a mark that says one byte more") << "mark";
        QTest::newRow("the last block missing") << "short";
    }

    void blocksAreCheckedSideBySide()
    {
        QFETCH(QString, fault);
        QByteArray data = sampleData(4 * kBlockSize + 999, 17);
        QByteArray packed;
        QVector<BlockMark> marks;
        QVERIFY(pack(data, packed, {}, &marks).ok());
        QCOMPARE(marks.size(), 5);
        quint64 packedTotal = 0;
        for (const BlockMark &mark : marks)
            packedTotal += mark.packedSize;
        QCOMPARE(packedTotal, quint64(packed.size()));

        if (fault == QLatin1String("byte")) {
            const qsizetype at = qsizetype(marks[0].packedSize + marks[1].packedSize) + 100;
            packed[at] = char(packed[at] ^ 0x10);
        } else if (fault == QLatin1String("plain")) {
            // The dictionary of the second block is taken from other data.
            for (qsizetype i = kBlockSize - kDictionarySize; i < kBlockSize; ++i)
                data[i] = char(data[i] ^ 0x01);
        } else if (fault == QLatin1String("mark")) {
            marks[2].plainSize += 1;
        } else if (fault == QLatin1String("short")) {
            packed.chop(qsizetype(marks.last().packedSize));
            marks.removeLast();
        }
        const DataPass pass = checkBlocks(packed, data, marks);
        if (fault.isEmpty()) {
            QVERIFY(pass.ok());
            QCOMPARE(pass.size, quint64(data.size()));
            QCOMPARE(pass.crc, crcOf(data));
        } else {
            QVERIFY(!pass.ok());
        }
    }

    void copiesCarryTheChecksumAndStop()
    {
        const QByteArray data = sampleData(3 * kBlockSize + 5, 5);
        QBuffer from;
        from.setData(data);
        from.open(QIODevice::ReadOnly);
        QByteArray copied;
        QBuffer to(&copied);
        to.open(QIODevice::WriteOnly);
        const DataPass pass = copyStream(from, &to);
        QVERIFY(pass.ok());
        QCOMPARE(pass.crc, crcOf(data));
        QCOMPARE(copied, data);

        from.seek(0);
        const DataPass stopped = copyStream(from, nullptr, [](quint64) { return false; });
        QVERIFY(stopped.stopped);
        QCOMPARE(stopped.size, quint64(kBlockSize));
    }
};

LUMKAR_TEST(BlockDeflateTest)
#include "tst_blockdeflate.moc"
