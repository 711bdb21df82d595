#include "string_data.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

StringData* NewData(std::string_view text) {
    void* memory = ::operator new(sizeof(StringData) + text.size() + 1);
    auto* data = new (memory) StringData{{1}, text.size()};
    std::memcpy(data->Bytes(), text.data(), text.size());
    data->Bytes()[text.size()] = '\0';
    return data;
}

void Retain(StringData* data) {
    if (data) data->refcount.fetch_add(1, std::memory_order_relaxed);
}

void Release(StringData* data) {
    if (data && data->refcount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        data->~StringData();
        ::operator delete(data);
    }
}

}  // namespace

String::String(std::string_view text) : data_(text.empty() ? nullptr : NewData(text)) {}

String::String(const String& other) : data_(other.data_) { Retain(data_); }

String::~String() { Release(data_); }

String& String::operator=(const String& other) {
    Retain(other.data_);
    Release(data_);
    data_ = other.data_;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        Release(data_);
        data_ = other.data_;
        other.data_ = nullptr;
    }
    return *this;
}

StringData* String::RetainRaw() const {
    Retain(data_);
    return data_;
}

String String::AdoptRaw(StringData* data) {
    String s;
    s.data_ = data;
    return s;
}

String String::CopyRaw(StringData* data) {
    Retain(data);
    return AdoptRaw(data);
}

int64_t RuntimeStringCompare(const String& a, const String& b) {
    int c = a.View().compare(b.View());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
