// An array kept in fixed blocks: it grows without moving what it holds (addresses of its elements
// stay valid while it grows) and without the spare room of a doubling vector, which for a mesh of
// millions of facets would be as large as the mesh itself.
#pragma once
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace sarnova {

template <class T, std::size_t BlockBits = 10>
class TChunkedArray {
public:
    static constexpr std::size_t BlockSize = std::size_t{1} << BlockBits;

    TChunkedArray() = default;
    TChunkedArray(const TChunkedArray& Other) { assign(Other); }
    TChunkedArray& operator=(const TChunkedArray& Other) {
        if (&Other != this) assign(Other);
        return *this;
    }
    TChunkedArray(TChunkedArray&&) noexcept = default;
    TChunkedArray& operator=(TChunkedArray&&) noexcept = default;

    std::size_t size() const noexcept { return FSize; }
    bool empty() const noexcept { return FSize == 0; }
    T& operator[](std::size_t I) noexcept { return FBlocks[I >> BlockBits][I & (BlockSize - 1)]; }
    const T& operator[](std::size_t I) const noexcept { return FBlocks[I >> BlockBits][I & (BlockSize - 1)]; }
    T& back() noexcept { return (*this)[FSize - 1]; }

    void push_back(const T& V) {
        if (FSize == FBlocks.size() * BlockSize) FBlocks.push_back(std::make_unique<T[]>(BlockSize));
        (*this)[FSize++] = V;
    }
    // Drops the elements from N on; blocks no longer needed are freed.
    void resize_down(std::size_t N) noexcept {
        if (N >= FSize) return;
        FSize = N;
        FBlocks.resize((N + BlockSize - 1) >> BlockBits);
    }
    // Removes element I, moving the later ones down one place.
    void erase(std::size_t I) {
        for (std::size_t K = I + 1; K < FSize; ++K) (*this)[K - 1] = std::move((*this)[K]);
        resize_down(FSize - 1);
    }
    // Becomes a copy of Other.
    void assign(const TChunkedArray& Other) {
        clear();
        for (std::size_t I = 0; I < Other.size(); ++I) push_back(Other[I]);
    }
    void clear() noexcept {
        FBlocks.clear();
        FSize = 0;
    }
    void swap(TChunkedArray& Other) noexcept {
        FBlocks.swap(Other.FBlocks);
        std::swap(FSize, Other.FSize);
    }

private:
    std::vector<std::unique_ptr<T[]>> FBlocks;
    std::size_t FSize = 0;
};

}  // namespace sarnova
