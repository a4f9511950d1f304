r = NSMakeRange(1, 2); f = CGRectMake(0, 0.5, 1e3, -2)
