// SPDX-License-Identifier: GPL-3.0-or-later
// The integers of a settings file read in one pass over its bytes give what
// IniFile gives, or decline (for bytes that are not plain ASCII).
#include "files/ini_file.h"
#include "files/ini_integers.h"
#include "files/shift_jis.h"

#include <gtest/gtest.h>

TEST(IniIntegers, OnePassReadsWhatIniFileReads) {
    const IniIntegerQuery query{"faces", {"count", "missing"}, 4, {"X1", "Y1", "X2"}};
    // Each file tries a rule of the reading: names in any case and with
    // blanks, a key in a later copy of its section (and a later copy that
    // does not count), numbers spelled as no section name is ("[05]", "[+1]",
    // "[ 1 ]"), a section beyond those asked for, hexadecimal and signed
    // values, values that are no integer or out of range, a value cut at the
    // longest a read gives, comments, LF and CRLF, a lone "\r" and a last
    // line without its end, and a numbered section named like the named one.
    const QByteArray files[] = {
        "[Faces]\r\nCount=5\r\n[0]\r\nX1=1\r\nY1=-2\r\n[1]\r\nx1=0x1A\r\nY1=$ff\r\nX2=abc\r\n",
        "count=9\n[ FACES ]\n;count=2\n  cOUNT =  3  \n[0]\nX1=1\n[0]\nX1=2\nY1=3\n[05]\nX1=7\n[+1]\nX1=8\n[ 1 ]\nX2=4\n",
        "[faces]\r\n[3]\r\nX1=99999999999\r\nY1=-2147483648\r\nX2=2147483648\r\n[4]\r\nX1=1\r\n[2]\r\nX1=1\rY1=2\r\n",
        QByteArray("[0]\nX1=5") + QByteArray(2046, ' ') + "x\nY1=" + QByteArray(3000, '1') + "\n[2]\nX1=  12  ",
        "[1]\r\nX1=1\r\n[faces]\r\ncount=1\r\n[FACES]\r\ncount=2\r\n[0]\r\n=5\r\nX1\r\n[x1]=3\r\n X1 = 6 \r\n",
        "",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.left(120).toStdString());
        const std::optional<IniIntegers> quick = readIniIntegersAscii(file, query);
        ASSERT_TRUE(quick.has_value());
        const IniFile slow(QStringLiteral("/nowhere/FaceData.ini"), file);
        const auto expected = [&](const QString& section, const QString& key) {
            int value = 0;
            return parseIniInteger(slow.readString(section, key, QString()), &value) ? std::optional<int>(value)
                                                                                    : std::nullopt;
        };
        for (qsizetype k = 0; k < query.namedKeys.size(); ++k)
            EXPECT_EQ(quick->named[size_t(k)], expected("faces", query.namedKeys[k])) << query.namedKeys[k].toStdString();
        for (int n = 0; n < query.numberedSections; ++n)
            for (qsizetype k = 0; k < query.numberedKeys.size(); ++k)
                EXPECT_EQ(quick->numbered[size_t(n * query.numberedKeys.size() + k)],
                          expected(QString::number(n), query.numberedKeys[k]))
                    << n << " " << query.numberedKeys[k].toStdString();
    }
    EXPECT_EQ(readIniIntegersAscii("[Faces]\r\nCount=5\r\n[0]\r\nX1=1\r\n", query)->numbered[0], 1);
    EXPECT_FALSE(readIniIntegersAscii(toShiftJis(QStringLiteral("; 顔\r\n[Faces]\r\nCount=5\r\n")), query))
        << "other bytes are IniFile's";
}
