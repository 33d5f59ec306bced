// Reference-counted runtime objects and the counted pointer that owns them.
//
// Everything a value of kind 10 can point at (syntax nodes, script objects,
// library objects and singletons) derives from `TtsObject`. Counting follows
// the COM habit: `AddRef` takes a reference, `Release` gives one back and the
// object frees itself when the count reaches zero.
//
// The two starting counts encode two ownership stories:
//   - `TtsObject` starts at 1: its creator (usually the syntax tree that owns
//     the node) holds that reference; counted references from values and
//     lists come on top.
//   - `TtsObjectZero` starts at 0: it lives exactly as long as counted
//     references to it exist (a list or document that a script created).
//
// `Ref<T>` makes ownership visible in types. `Ref<T>::Adopt` takes over a
// reference the caller already holds (the creator's reference of a fresh
// `TtsObject`), `Ref<T>::Retain` takes a new one. `MakeRef<T>(...)` creates
// either kind of object and returns the one owning pointer to it.
//
// Freeing an object frees what it owns, which may free more: the last of a
// chain of 150,000 script objects, each holding the next in a member, would
// otherwise be freed inside the destructor of the one before it, 150,000
// destructors deep. Instead, an object that can own the last reference to
// others of its kind (syntax nodes and script objects, lists, tables) hands
// its references over (`TakeOwnedReferences`) when its count reaches zero,
// and `Release` frees the objects handed over one after another, each
// handing over its own first. The stack a release uses no longer grows with
// the length of a chain or the depth of a tree.
//
// Counts are plain integers: a run uses its objects from one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace ozra::value {

class OwnedReferences;

class TtsObject {
  public:
    TtsObject() noexcept = default;
    TtsObject(const TtsObject&) = delete;
    TtsObject& operator=(const TtsObject&) = delete;
    virtual ~TtsObject() = default;

    void AddRef() noexcept { ++refCount_; }

    // Gives one reference back; the object destroys itself on the last one.
    // Releasing an object that holds no reference is a fault of the caller
    // and stops the program with a message rather than corrupting memory.
    void Release() noexcept {
        if (refCount_ <= 0) ReleaseUnowned();
        if (--refCount_ == 0) Destroy();
    }

    std::int32_t RefCount() const noexcept { return refCount_; }

    // The class name the host uses to pick the library that serves an object.
    virtual std::string_view ClassName() const { return "TtsObject"; }

  protected:
    explicit TtsObject(std::int32_t initialCount) noexcept : refCount_(initialCount) {}

    // Moves every counted reference to another object that this one owns
    // into `into`; called once, just before the object is deleted, so its
    // destructor then finds them gone. Classes whose objects can hold others
    // of their kind override it.
    virtual void TakeOwnedReferences(OwnedReferences& into) noexcept {}

  private:
    [[noreturn]] void ReleaseUnowned() const noexcept;
    // Deletes the object, then frees what it handed over without nesting.
    void Destroy() noexcept;

    std::int32_t refCount_ = 1;
};

class TtsObjectZero : public TtsObject {
  public:
    TtsObjectZero() noexcept : TtsObject(0) {}

    std::string_view ClassName() const override { return "TtsObjectZero"; }
};

// An owning pointer holding exactly one counted reference (or none).
template <class T> class Ref {
  public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}

    static Ref Adopt(T* object) noexcept { return Ref(object); }
    static Ref Retain(T* object) noexcept {
        if (object) object->AddRef();
        return Ref(object);
    }

    Ref(const Ref& other) noexcept : object_(other.object_) {
        if (object_) object_->AddRef();
    }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}

    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) noexcept : object_(other.Get()) {
        if (object_) object_->AddRef();
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept : object_(other.Detach()) {}

    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    ~Ref() {
        if (object_) object_->Release();
    }

    T* Get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Hands the reference to the caller, who must give it back later.
    T* Detach() noexcept { return std::exchange(object_, nullptr); }
    void Reset() noexcept { Ref().swap(*this); }
    void swap(Ref& other) noexcept { std::swap(object_, other.object_); }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.object_ == b.object_; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.object_ == nullptr; }

  private:
    explicit Ref(T* object) noexcept : object_(object) {}

    T* object_ = nullptr;
};

// The counted references objects hand over while a release is in progress
// (see `TtsObject::TakeOwnedReferences`), taken back last first. The first
// few live in the list itself, so freeing a small object allocates nothing.
class OwnedReferences {
  public:
    OwnedReferences() noexcept = default;
    OwnedReferences(const OwnedReferences&) = delete;
    OwnedReferences& operator=(const OwnedReferences&) = delete;
    ~OwnedReferences();

    // Takes over the reference; a null one is not kept.
    void Add(Ref<TtsObject> reference);
    bool Empty() const noexcept { return count_ == 0; }
    // The reference added last, which the caller now holds.
    TtsObject* TakeLast() noexcept;

  private:
    static constexpr std::size_t InlineCount = 16;

    TtsObject* inline_[InlineCount];
    std::vector<TtsObject*> overflow_;
    std::size_t count_ = 0;
};

// Creates a runtime object and returns the single owning reference to it,
// whatever count its class starts with.
template <class T, class... Args> Ref<T> MakeRef(Args&&... args) {
    static_assert(std::is_base_of_v<TtsObject, T>);
    T* object = new T(std::forward<Args>(args)...);
    if constexpr (std::is_base_of_v<TtsObjectZero, T>) {
        return Ref<T>::Retain(object);
    } else {
        return Ref<T>::Adopt(object);
    }
}

} // namespace ozra::value
