// The whole syntax tree model in one include: the node base classes, the
// expression nodes, the plain statements and the control statements.
#pragma once

#include "front/control_nodes.h"
#include "front/expression_nodes.h"
#include "front/node_kind.h"
#include "front/statement_nodes.h"
#include "front/syntax_node.h"
