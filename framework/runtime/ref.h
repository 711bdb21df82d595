// Ref<T>: the one owning handle. Copying retains, destruction releases; raw pointers borrow.
#pragma once

#include <cstddef>
#include <utility>

#include "object.h"

template <class T = Object>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(const Ref& other) : ptr_(other.ptr_) { RuntimeRetain(ptr_); }
    Ref(Ref&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~Ref() { RuntimeRelease(ptr_); }

    Ref& operator=(const Ref& other) {
        Ref copy(other);
        std::swap(ptr_, copy.ptr_);
        return *this;
    }
    Ref& operator=(Ref&& other) noexcept {
        Ref moved(std::move(other));
        std::swap(ptr_, moved.ptr_);
        return *this;
    }

    // Takes over a reference the caller already owns (a new reference from an operation).
    static Ref Adopt(T* ptr) {
        Ref ref;
        ref.ptr_ = ptr;
        return ref;
    }
    // Takes a reference of its own to a borrowed pointer.
    static Ref Retain(T* ptr) {
        RuntimeRetain(ptr);
        return Adopt(ptr);
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    bool operator==(const Ref& other) const { return ptr_ == other.ptr_; }
    bool operator==(std::nullptr_t) const { return ptr_ == nullptr; }

    // Gives up ownership: the caller now owns the reference.
    [[nodiscard]] T* Release() { return std::exchange(ptr_, nullptr); }
    void Reset() { Ref().swap(*this); }
    void swap(Ref& other) noexcept { std::swap(ptr_, other.ptr_); }

private:
    T* ptr_ = nullptr;
};
