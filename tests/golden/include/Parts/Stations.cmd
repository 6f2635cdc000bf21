A = 10
STATION = #20 + A
MESSAGE station set
