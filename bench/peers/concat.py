parts = []
for i in range(200000):
    parts.append("x")
print("".join(parts))
