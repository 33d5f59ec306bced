// Generated from table product_category: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct Product;
struct Category;

struct ProductCategory {
    int category_id{}; // key
    int product_id{}; // key
    Category* category = nullptr; // by category_id -> id
    Product* product = nullptr; // by product_id -> id
};

} // namespace Shop
