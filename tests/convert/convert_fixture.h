// Helpers of the converter tests: log bytes built field by field at their
// offsets and a scratch folder per test.
#pragma once
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "tests/common/test_files.h"

// A 232-byte header of zeros with the given bytes at offset.
inline void putBytes(std::string* block, size_t offset, const std::string& bytes) {
    ASSERT_LE(offset + bytes.size(), block->size());
    block->replace(offset, bytes.size(), bytes);
}

inline std::string zeroHeader() { return std::string(232, '\0'); }

// A header with one value in every field, each easy to tell apart on its line.
std::string sampleHeader();

// One 20-byte record.
std::string recordBytes(int32_t timestamp, uint16_t ch1, uint16_t ch2, uint16_t ch3, uint16_t ch4,
                        uint16_t frequency, uint16_t temperature, uint8_t stateByte, uint8_t voltage);

// The same row as printf gives it with the format of a CSV row; the date comes
// from referenceDate, not from the converter's calendar.
std::string referenceRow(int32_t timestamp, uint16_t ch1, uint16_t ch2, uint16_t ch3, uint16_t ch4,
                         uint16_t frequency, uint16_t temperature, uint8_t stateByte, uint8_t voltage);

// Date of a day (days since 1970-01-01) from a table built day by day from
// 1901-01-01 to 2038-12-31; false outside it.
bool referenceDate(int64_t days, int* year, int* month, int* day);

// Splits CSV text into its lines, each with its CR LF.
std::vector<std::string> splitLines(const std::string& text);

// A fresh scratch folder for each test, removed with everything in it.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string path(const std::string& name) const { return join(dir, name); }
    std::string dir;
};
