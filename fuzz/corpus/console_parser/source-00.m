v = [UIView new]
[v setBackgroundColor:[UIColor colorWithWhite:1 alpha:1]]
[v backgroundColor]
