// Generated from table product: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct OrderLine;
struct ProductCategory;

struct Product {
    bool discontinued{};
    int id{}; // key, generated
    double price{};
    std::string title{};
    std::vector<OrderLine*> order_lines;
    std::vector<ProductCategory*> product_categorys;
};

} // namespace Shop
