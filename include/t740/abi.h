// Binary interface between a network-management host and the t740 card
// plug-in (libt740.so). A host needs this header only.
#ifndef T740_ABI_H
#define T740_ABI_H

#if (defined(_MSVC_LANG) && _MSVC_LANG < 201703L) || (!defined(_MSVC_LANG) && __cplusplus < 201703L)
#error "t740/abi.h needs C++17 or later (for example -std=c++17)"
#endif

// The interface's version: the major number is the plug-in's soname
// (libt740.so.1) and changes with any change a built host would notice;
// the minor number grows with additions (OpenThresholds came in 1.0).
#define T740_ABI_VERSION_MAJOR 1
#define T740_ABI_VERSION_MINOR 0

// The plug-in's six entry points: undecorated C names, visible outside the
// library (its version script lists the same six and hides the rest).
#if defined(__GNUC__)
#define T740_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define T740_EXPORT extern "C"
#endif

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

// Reference-counted 8-bit text holding GBK bytes, one pointer wide. A text
// passed by value is a temporary copy that the caller makes and, as the
// Itanium C++ ABI has it for a type with a destructor, also destroys once
// the call has returned; the count is atomic so copies may travel between
// threads.
class CText {
 public:
  CText() noexcept = default;
  CText(const char* text) : CText(text, text ? std::strlen(text) : 0) {}
  CText(const char* data, size_t size) {
    if (size == 0) return;
    block_ = static_cast<Block*>(::operator new(sizeof(Block) + size + 1));
    new (&block_->refs) std::atomic<long>(1);
    block_->size = size;
    std::memcpy(block_->bytes(), data, size);
    block_->bytes()[size] = '\0';
  }
  CText(std::string_view text) : CText(text.data(), text.size()) {}
  CText(const CText& other) noexcept : block_(other.block_) {
    if (block_) block_->refs.fetch_add(1, std::memory_order_relaxed);
  }
  CText(CText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  ~CText() { Drop(); }

  CText& operator=(const CText& other) noexcept {
    CText copy(other);
    Swap(copy);
    return *this;
  }
  CText& operator=(CText&& other) noexcept {
    CText moved(static_cast<CText&&>(other));
    Swap(moved);
    return *this;
  }

  const char* c_str() const noexcept { return block_ ? block_->bytes() : ""; }
  size_t size() const noexcept { return block_ ? block_->size : 0; }
  bool empty() const noexcept { return size() == 0; }
  std::string_view view() const noexcept { return std::string_view(c_str(), size()); }

  friend bool operator==(const CText& a, const CText& b) noexcept { return a.view() == b.view(); }
  friend bool operator!=(const CText& a, const CText& b) noexcept { return !(a == b); }
  friend bool operator==(const CText& a, const char* b) noexcept {
    return a.view() == std::string_view(b ? b : "");
  }
  friend bool operator!=(const CText& a, const char* b) noexcept { return !(a == b); }
  friend bool operator==(const char* a, const CText& b) noexcept { return b == a; }
  friend bool operator!=(const char* a, const CText& b) noexcept { return !(b == a); }

 private:
  struct Block {
    std::atomic<long> refs;
    size_t size;
    char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
  };

  void Swap(CText& other) noexcept {
    Block* held = block_;
    block_ = other.block_;
    other.block_ = held;
  }
  void Drop() noexcept {
    if (block_ && block_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      block_->refs.~atomic();
      ::operator delete(block_);
    }
    block_ = nullptr;
  }

  Block* block_ = nullptr;
};

static_assert(sizeof(CText) == sizeof(void*), "CText is one pointer wide");

#pragma pack(push, 4)
// The host's record of the device; the plug-in reads the two texts only.
struct HostDeviceRecord {
  unsigned char reserved0[8];
  const char* deviceType;
  unsigned char reserved1[796];
  const char* location;
  unsigned char reserved2[8];
};
#pragma pack(pop)

static_assert(offsetof(HostDeviceRecord, deviceType) == 8, "device type at byte 8");
static_assert(offsetof(HostDeviceRecord, location) == 812, "location at byte 812");

// The host's transport: operation 0 reads, 1 writes. The call is synchronous;
// the answer is in *response when it returns. The plug-in ignores the result.
using RequestFunction = int (*)(int operation, CText ip, CText oid, CText one, CText value,
                                CText* response);

class QWidget;

class CCardBase {
 public:
  virtual ~CCardBase() = default;
  virtual void OpenConfiguration(QWidget* parent, CText ip, CText cardAddress,
                                 HostDeviceRecord* record) = 0;
  virtual void Release() = 0;
  virtual void SetRequestFunction(RequestFunction f) = 0;
  virtual void SetHostValue(int32_t value, int32_t unused) = 0;
};

T740_EXPORT int32_t CreateObject(int32_t, CCardBase** out);
T740_EXPORT int32_t GetWarning(int32_t type, CText status, CText, int16_t* level, CText* text);
T740_EXPORT int32_t GetLedState(int32_t, CText status, int16_t* count, CText* states);
T740_EXPORT int32_t GetPerformanceData(int32_t, int16_t period, int16_t history, CText data,
                                       CText* texts, CText* labels, CText);
T740_EXPORT int32_t GetAlarmSheild(int32_t, CText mask, int16_t maskLength, CText* result,
                                   int16_t* resultLength, CText levels);
// Shows the performance threshold pages of the most recently created card
// object in a modal window of their own; 0 when there is no card object.
T740_EXPORT int32_t OpenThresholds(QWidget* parent, CText ip, CText cardAddress);

#endif
