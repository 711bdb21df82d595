// String: the framework's reference-counted, immutable UTF-8 text.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

struct StringData {
    std::atomic<int64_t> refcount;
    size_t length;
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }
};

class String {
public:
    String() = default;
    String(std::string_view text);
    String(const char* text) : String(std::string_view(text)) {}
    String(const std::string& text) : String(std::string_view(text)) {}
    String(const String& other);
    String(String&& other) noexcept : data_(other.data_) { other.data_ = nullptr; }
    ~String();
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;

    std::string_view View() const {
        return data_ ? std::string_view(data_->Bytes(), data_->length) : std::string_view();
    }
    std::string Std() const { return std::string(View()); }
    size_t Size() const { return data_ ? data_->length : 0; }
    bool Empty() const { return Size() == 0; }

    // Raw form, as a String lives in an object field: a retained pointer or nil for "".
    StringData* RetainRaw() const;
    static String AdoptRaw(StringData* data);
    static String CopyRaw(StringData* data);

    friend bool operator==(const String& a, const String& b) { return a.View() == b.View(); }
    friend bool operator==(const String& a, std::string_view b) { return a.View() == b; }

private:
    StringData* data_ = nullptr;  // nil is the empty text
};

// Compares two texts byte by byte: 0 when equal, negative or positive otherwise.
int64_t RuntimeStringCompare(const String& a, const String& b);
