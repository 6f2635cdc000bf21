// lower case, CLOSE among the points, and a command on an entity whose name starts with the keyword
polyline Polyline1
0 0
4 0 1
  close
4 3 1
END
Polyline1.COLOR=Red
A = 2
POLYLINE Open Line
A A*A
-1 0.5
END
