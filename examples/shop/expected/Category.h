// Generated from table category: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct ProductCategory;

struct Category {
    int id{}; // key, generated
    std::string title{};
    std::vector<ProductCategory*> product_categorys;
};

} // namespace Shop
