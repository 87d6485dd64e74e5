// The development environment's DDE links to controls: a control that offers its picture to a
// link answers through DdeDataSource; a container that takes part in the links offers DdeSite.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ocx {

// Results of the data operations.
constexpr std::int32_t kDdeOk = 0;
constexpr std::int32_t kDdeNoData = 1;
constexpr std::int32_t kDdeFormatNotSupported = 2;

class DdeSite {
 public:
  virtual ~DdeSite();
  virtual std::int32_t linkAdvise(std::int32_t link) = 0;
  virtual std::int32_t linkUnadvise(std::int32_t link) = 0;
};

class DdeDataSource {
 public:
  virtual ~DdeDataSource();
  // The link flags a clipboard format allows in a link mode; 0 for formats not offered.
  virtual std::int32_t formatFlags(unsigned format, std::int32_t mode) = 0;
  // The data of a format: kDdeOk with the bytes, kDdeNoData when none can be made now,
  // kDdeFormatNotSupported for other formats.
  virtual std::int32_t getData(unsigned format, std::vector<std::uint8_t>& data) = 0;
  virtual std::int32_t setData(unsigned format, std::span<const std::uint8_t> data) = 0;
  // Forwarded to the container's DdeSite; 0 without one.
  virtual std::int32_t linkAdvise(std::int32_t link) = 0;
  virtual std::int32_t linkUnadvise(std::int32_t link) = 0;
};

}  // namespace ocx
